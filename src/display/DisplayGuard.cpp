#include "DisplayGuard.h"

#include "Dialogs.h"
#include "DisplayModes.h"
#include "DisplaySettings.h"
#include "UFrmResolucao.h"

#include <QTimer>

#include <memory>

namespace vosmira {

DisplayGuard::DisplayGuard(DisplayModes &modes)
    : m_modes(modes)
{
}

void DisplayGuard::atStart(const GuardedWindow &window)
{
    const DisplaySettings settings;
    const QSize screen = m_modes.primarySize();
    *window.SavedHeight = screen.height();
    *window.SavedWidth = screen.width();
    if (screen.width() >= kRequired.width())
        return;

    if (settings.switchesWithoutAsking()) {
        window.Timer3->start();
        displayModeChange(kRequired.width(), kRequired.height());
        return;
    }

    const bool yes = msg::question(
        QStringLiteral("Configurações"),
        QStringLiteral("Foi detectado que você está utilizando uma resolução de vídeo diferente da exigida pelo "
                       "programa.\rEnquanto o programa estiver aberto sua resolução será configurada para "
                       "1024x768.\r\rCaso a imagem do seu monitor não fique nítida aguarde 10 segundos que será "
                       "restaurada a configuração anterior."));
    if (!yes) {
        window.Timer2->start();
        return;
    }
    const auto dialog = std::make_unique<TFrmResolucao>(*this, window);
    // A refused switch has been reported: there is nothing to test, and the
    // program goes on at the size it has.
    if (dialog->isTesting())
        execModal(*dialog);
}

void DisplayGuard::atClose(const GuardedWindow &window)
{
    const QSize saved(*window.SavedWidth, *window.SavedHeight);
    if (m_requested && *m_requested != saved)
        displayModeChange(saved.width(), saved.height());
}

bool DisplayGuard::displayModeChange(int width, int height)
{
    const QSize size(width, height);
    if (m_modes.setPrimarySize(size)) {
        m_requested = size;
        return true;
    }
    msg::plain(QStringLiteral("Erro alterando a resolução de vídeo"), QStringLiteral("Confuguração de Vídeo"));
    return false;
}

} // namespace vosmira
