#include "editor/Aplicacion.h"

#include "foundation/Archivo.h"
#include "foundation/Numeros.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace ventix {

TAplicacion::TAplicacion(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Ventix"));
    setApplicationDisplayName(QStringLiteral("Ventix"));
    // Qt's own dialogs and buttons (files, colours, Yes and No) in Spanish,
    // like the rest of the program. Without the translations installed they
    // stay in English.
    auto* Traduccion = new QTranslator(this);
    if (Traduccion->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(Traduccion);
}

bool TAplicacion::notify(QObject* Receptor, QEvent* Evento) {
    bool r = false;
    Proteger([&] { r = QApplication::notify(Receptor, Evento); });
    return r;
}

bool TAplicacion::DebeMostrarse(const QString& Mensaje) {
    return !Mensaje.toUpper().contains(QStringLiteral("FLOATING"));
}

void TAplicacion::ApplicationEventsException(const std::exception& E) {
    // The library's own words for a lack of memory mean nothing to a student.
    if (dynamic_cast<const std::bad_alloc*>(&E) && !dynamic_cast<const ESinMemoria*>(&E))
        return Mostrar(QStringLiteral("No hay memoria suficiente para completar la operación"));
    const QString Mensaje = QString::fromUtf8(E.what());
    if (dynamic_cast<const EConversionError*>(&E))
        Mostrar(Mensaje);
    else
        ApplicationEventsException(Mensaje);
}

void TAplicacion::ApplicationEventsException(const QString& Mensaje) {
    if (DebeMostrarse(Mensaje))
        Mostrar(Mensaje);
}

void TAplicacion::Mostrar(const QString& Mensaje) {
    if (MostrarError)
        MostrarError(Mensaje);
    else
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Ventix"), Mensaje);
}

} // namespace ventix
