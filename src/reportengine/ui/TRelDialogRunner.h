#pragma once

class QDialog;

namespace rel {

// Every modal window of the engine (output options, preview, the platform's
// print dialog) is run through here, so tests can drive it instead of
// waiting on a real modal loop.
class TRelDialogRunner
{
public:
    virtual ~TRelDialogRunner();

    // QDialog::exec() for the real windows; returns the dialog's result.
    virtual int exec(QDialog &dialog) = 0;

    static TRelDialogRunner &current();
    // nullptr puts the real runner back. The caller keeps ownership.
    static void install(TRelDialogRunner *runner);
};

} // namespace rel
