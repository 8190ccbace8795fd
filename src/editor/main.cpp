#include "editor/Aplicacion.h"
#include "editor/FormMain.h"

#include <QMessageBox>
#include <QScreen>
#include <QSettings>

#include <filesystem>
#include <memory>

using namespace ventix;

namespace {

// The window comes back where the user left it; the first time it takes
// most of the screen, so that the ribbon's tools all fit.
void RestaurarVentana(TfrmMain& F, const QSettings& Ajustes) {
    if (F.restoreGeometry(Ajustes.value(QStringLiteral("ventana")).toByteArray()))
        return;
    if (const QScreen* Pantalla = F.screen()) {
        const QRect Libre = Pantalla->availableGeometry();
        F.resize(std::min(1280, Libre.width() * 9 / 10), std::min(860, Libre.height() * 9 / 10));
        F.move(Libre.center() - F.rect().center());
    }
}

} // namespace

int main(int argc, char** argv) {
    TAplicacion App(argc, argv);
    std::unique_ptr<TfrmMain> frmMain;
    Proteger([&] { frmMain = std::make_unique<TfrmMain>(); });
    if (!frmMain)
        return 1;
    // What the user chose last time: window placement and the folder of the
    // circuits.
    QSettings Ajustes(QStringLiteral("Ventix"), QStringLiteral("ventix"));
    RestaurarVentana(*frmMain, Ajustes);
    frmMain->Carpeta = Ajustes.value(QStringLiteral("carpeta")).toString();
    frmMain->show();
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
    const int Resultado = App.exec();
    Ajustes.setValue(QStringLiteral("ventana"), frmMain->saveGeometry());
    Ajustes.setValue(QStringLiteral("carpeta"), frmMain->Carpeta);
    return Resultado;
}
