#pragma once

class QWidget;

namespace vosmira {

// SIGTERM and SIGINT (session logout, Ctrl+C in a terminal) close the given
// window as its close box would, so the run ends through its normal path.
void closeOnTerminationSignal(QWidget *window);

} // namespace vosmira
