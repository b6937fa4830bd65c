#pragma once

class Connection;
class QLabel;
class QTimer;
class QWidget;

// The legacy import run from a window: the window waits, disabled but repainted after
// every batch, its timer is held so that nothing else uses the connection meanwhile, and
// the label, shown for the purpose, tells the progress table by table and then how it
// ended. A source refused for its problems is answered with the list in a window of its
// own ("ImportProblems"), the whole list also written to a text file in the temporary
// folder; any other failure reaches the caller as a DatabaseError after the window is
// usable again.
void runLegacyImport(Connection& target, QWidget& window, QLabel& progress, QTimer& timer);
