#pragma once

#include <QObject>
#include <QString>
#include <functional>

class DatabaseError;
class InternalError;
class QWidget;

// The general error display: a Russian first line, the server's text below it, in an error box.
void showDatabaseError(const DatabaseError& error, QWidget* parent = nullptr);
// A slip of the program told as one, so that nobody looks for it in the database.
void showInternalError(const InternalError& error, QWidget* parent = nullptr);

// Runs an event handler; a database error it raises ends the handler and is shown by the
// general error display, a slip of the program as an internal error, a typed value refused
// (InputRefused) in the error box with its message. Qt lets no exception travel through its event loop, so every handler the
// toolkit calls runs through here.
void runHandler(const std::function<void()>& handler, QWidget* parent = nullptr);

// Connects a signal to a handler of a window so that it runs through runHandler.
template <typename Sender, typename Signal, typename Window, typename... HandlerArgs>
void connectHandler(Sender* sender, Signal signal, Window* window, void (Window::*handler)(HandlerArgs...))
{
    QObject::connect(sender, signal, window, [window, handler](HandlerArgs... args) {
        runHandler([&] { (window->*handler)(args...); }, window);
    });
}
