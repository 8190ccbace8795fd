#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace ventix {

// The application: every exception that a handler lets out is caught before
// it can cross Qt's event loop and shown in a standard error box, except
// floating-point failures, which are dropped.
class TAplicacion : public QApplication {
    Q_OBJECT
public:
    TAplicacion(int& argc, char** argv);
    bool notify(QObject* Receptor, QEvent* Evento) override;

    // Whether a message is shown at all (floating-point failures are not).
    static bool DebeMostrarse(const QString& Mensaje);
    // Shows an exception's message; a no-op for floating-point failures.
    // A number that cannot be read is shown even though its message names a
    // floating point value: it is the user's typing, not a failure.
    static void ApplicationEventsException(const std::exception& E);
    static void ApplicationEventsException(const QString& Mensaje);
    static void Mostrar(const QString& Mensaje);
    // Shows the message; a standard error box unless replaced (tests).
    static inline std::function<void(const QString&)> MostrarError;
};

// Runs a handler and routes what it throws to the application's handler:
// for code called outside Qt's event delivery (start-up, timers).
template <class F> void Proteger(F&& Handler) {
    try {
        Handler();
    } catch (const std::exception& e) {
        TAplicacion::ApplicationEventsException(e);
    } catch (...) {
        TAplicacion::ApplicationEventsException(QStringLiteral("Error desconocido"));
    }
}

} // namespace ventix
