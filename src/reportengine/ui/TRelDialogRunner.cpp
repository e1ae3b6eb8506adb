#include "TRelDialogRunner.h"

#include <QDialog>

namespace rel {

namespace {

class ModalRunner final : public TRelDialogRunner
{
public:
    int exec(QDialog &dialog) override { return dialog.exec(); }
};

TRelDialogRunner *g_installed = nullptr;

} // namespace

TRelDialogRunner::~TRelDialogRunner() = default;

TRelDialogRunner &TRelDialogRunner::current()
{
    static ModalRunner real;
    return g_installed ? *g_installed : static_cast<TRelDialogRunner &>(real);
}

void TRelDialogRunner::install(TRelDialogRunner *runner)
{
    g_installed = runner;
}

} // namespace rel
