#include "editor/Aplicacion.h"
#include "editor/FormMain.h"
#include "editor/Recuperacion.h"

#include <QMessageBox>
#include <QSettings>

#include <filesystem>
#include <memory>

using namespace ventix;

int main(int argc, char** argv) {
    TAplicacion App(argc, argv);
    std::unique_ptr<TfrmMain> frmMain;
    Proteger([&] { frmMain = std::make_unique<TfrmMain>(); });
    if (!frmMain)
        return 1;
    // What the user chose last time: the window's size and place (the first
    // time it keeps the size it was made with) and the folder of the circuits.
    QSettings Ajustes(QStringLiteral("Ventix"), QStringLiteral("ventix"));
    frmMain->restoreGeometry(Ajustes.value(QStringLiteral("ventana")).toByteArray());
    // The first time, the example circuits' folder.
    frmMain->Carpeta = Ajustes
                           .value(QStringLiteral("carpeta"),
                                  QString::fromStdString(RutaEjemplosPorDefecto().string()))
                           .toString();
    frmMain->show();
    QApplication::processEvents();
    frmMain->VistaInicial();
    // What went wrong with the catalogue is said once, over the open window.
    const auto& Problemas = frmMain->Lienzo->Libreria.Problemas;
    if (!Problemas.empty()) {
        QStringList l;
        for (const auto& p : Problemas)
            l << QString::fromStdString(p);
        QMessageBox::warning(frmMain.get(), QStringLiteral("Ventix"), l.join(QLatin1Char('\n')));
    }
    // A circuit named on the command line is opened as by Open.
    const QStringList Args = App.arguments();
    if (Args.size() > 1)
        Proteger([&] { frmMain->AbrirArchivo(std::filesystem::u8path(Args[1].toStdString())); });
    // What a window that did not close cleanly left unsaved is offered, and
    // from now on this window's changes are kept for the next start.
    Proteger([&] {
        frmMain->Recuperacion = std::make_unique<TRecuperacion>();
        frmMain->OfrecerRecuperacion();
    });
    const int Resultado = App.exec();
    Ajustes.setValue(QStringLiteral("ventana"), frmMain->saveGeometry());
    Ajustes.setValue(QStringLiteral("carpeta"), frmMain->Carpeta);
    return Resultado;
}
