#include "artwork.h"
#include "canvas.h"

// The program icon at one size, straight from its SVG.
QImage paintIcon(const ArtJob &job)
{
    return renderSvg(job.icons.value(0), job.size.width());
}
