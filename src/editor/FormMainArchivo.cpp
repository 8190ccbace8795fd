#include "editor/FormMain.h"

#include "editor/FormGuardarImagen.h"
#include "editor/Lienzo.h"
#include "editor/Recuperacion.h"
#include "files/ArchivoAer.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <stdexcept>

// The file commands of the main window: New, Open, Save, the picture of the
// canvas and the question before closing.

namespace ventix {

namespace {

const QString FiltroAer = QStringLiteral("Archivos Ventix (*.aer);;Todos (*.*)");

std::filesystem::path Ruta(const QString& Nombre) {
    return std::filesystem::u8path(Nombre.toStdString());
}

// A name typed without extension gets ".aer", whatever dialog was used.
QString ConExtension(const QString& Nombre) {
    if (Nombre.isEmpty() || !QFileInfo(Nombre).suffix().isEmpty())
        return Nombre;
    return Nombre + QStringLiteral(".aer");
}

} // namespace

bool TfrmMain::Confirmar(const QString& Accion) {
    const QString Texto =
        QStringLiteral("Los cambios que no haya guardado se perderán.\r\n¿Desea ") + Accion +
        QStringLiteral(" de todas maneras?");
    if (Preguntar)
        return Preguntar(Texto);
    // No is the default: a stray Enter must not throw work away.
    return QMessageBox::information(this, QStringLiteral("Ventix"), Texto,
                                    QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
}

static QString Ejecutar(TfrmMain& F, QFileDialog& d) {
    if (F.EjecutarDialogo)
        return F.EjecutarDialogo(d);
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

void TfrmMain::btnNewClick() {
    if (!Confirmar(QStringLiteral("descartar el circuito y crear uno nuevo")))
        return;
    OcultarCinta();
    Lienzo->BorrarCircuito();
    ArchivoActual.clear();
    Lienzo->Arrastre = arSeleccion;
    ActuadorInicial = 2;
    btnSeta->SetDown(true);
    // As after Open, so that the toolbar and the canvas agree.
    SetModo(mdEdicion);
    Lienzo->Activar();
    Repintar();
    ActualizarEstado();
    ReiniciarHistoria();
}

void TfrmMain::btnOpenClick() {
    if (!Confirmar(QStringLiteral("descartar el circuito y abrir uno nuevo")))
        return;
    OcultarCinta();
    QFileDialog d(this, QStringLiteral("Abrir un nuevo archivo de Ventix"), Carpeta, FiltroAer);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::AnyFile);
    d.setDefaultSuffix(QStringLiteral("aer"));
    const QString Nombre = ConExtension(Ejecutar(*this, d));
    if (Nombre.isEmpty())
        return;
    Carpeta = QFileInfo(Nombre).absolutePath();
    AbrirArchivo(Ruta(Nombre));
}

void TfrmMain::AbrirArchivo(const std::filesystem::path& Archivo) {
    // The circuit there was is kept as its lines, to come back if the file
    // cannot be read: a half-read circuit is never left behind.
    const std::vector<std::string> Anterior = ArchivoAer::Escribir(*Lienzo);
    std::string Error;
    try {
        const auto Lineas = ArchivoAer::CargarLineas(Archivo);
        Lienzo->BorrarCircuito();
        ArchivoAer::Leer(*Lienzo, Lineas);
    } catch (const std::exception& e) {
        Error = Archivo.filename().string() + ", " + e.what();
        Lienzo->BorrarCircuito();
        try {
            ArchivoAer::Leer(*Lienzo, Anterior);
        } catch (const std::exception&) {
            Lienzo->BorrarCircuito();
        }
    }
    Lienzo->Arrastre = arSeleccion;
    ActuadorInicial = 2;
    btnSeta->SetDown(true);
    Lienzo->Deseleccionar();
    Lienzo->Activar();
    SetModo(mdEdicion);
    if (!Error.empty()) {
        Repintar();
        throw std::runtime_error(Error);
    }
    ReiniciarHistoria();
    // The extent of the new circuit is known once it has been drawn.
    Lienzo->Paint();
    btnZoomExtensionClick();
    // The file dialogs go on from its folder; Save still proposes only the
    // name of the previous save, so a handed-out circuit is not overwritten
    // by mistake.
    Carpeta = QFileInfo(QString::fromStdString(Archivo.string())).absolutePath();
    ArchivoActual = QString::fromStdString(Archivo.string());
}

void TfrmMain::btnSaveClick() {
    QFileDialog d(this, QStringLiteral("Guardar un archivo de Ventix"), Carpeta, FiltroAer);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix(QStringLiteral("aer"));
    // The platform's question comes before an existing file is replaced,
    // with No as its default.
    if (!UltimoGuardado.isEmpty())
        d.selectFile(UltimoGuardado);
    const QString Nombre = ConExtension(Ejecutar(*this, d));
    if (Nombre.isEmpty())
        return;
    UltimoGuardado = Nombre;
    Carpeta = QFileInfo(Nombre).absolutePath();
    GuardarArchivo(Ruta(Nombre));
    Historia.setClean();
}

void TfrmMain::GuardarArchivo(const std::filesystem::path& Archivo) {
    ArchivoAer::GuardarLineas(Archivo, ArchivoAer::Escribir(*Lienzo));
    ArchivoActual = QString::fromStdString(Archivo.string());
}

TfrmSaveImage& TfrmMain::SaveImage() {
    if (!frmSaveImage)
        frmSaveImage = new TfrmSaveImage(this);
    frmSaveImage->Lienzo = Lienzo.get();
    frmSaveImage->NombreCircuito =
        ArchivoActual.isEmpty() ? QString() : QFileInfo(ArchivoActual).fileName();
    return *frmSaveImage;
}

void TfrmMain::btnImagenClick() {
    SaveImage().exec();
}

void TfrmMain::FormCloseQuery(bool& CanClose) {
    CanClose = Confirmar(QStringLiteral("salir del programa"));
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    bool CanClose = true;
    FormCloseQuery(CanClose);
    if (CanClose) {
        // A clean exit: nothing is left to recover.
        if (Recuperacion)
            Recuperacion->Quitar();
        e->accept();
    } else
        e->ignore();
}

} // namespace ventix
