#include "Results.h"

namespace vbench {

std::optional<double> Results::get(const QString &key, int n) const
{
    const auto it = m_values.constFind({key, n});
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}

} // namespace vbench
