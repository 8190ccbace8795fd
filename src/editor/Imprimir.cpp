#include "editor/FormMain.h"

#include "editor/Aplicacion.h"
#include "files/Exportar.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

// Printing: the whole circuit on one page, as the PDF picture has it.

namespace ventix {

namespace {

QString NombrePie(const QString& Archivo) {
    return Archivo.isEmpty() ? QStringLiteral("Ventix") : QFileInfo(Archivo).fileName();
}

} // namespace

void TfrmMain::ImprimirEn(QPrinter& Impresora) {
    DibujarPagina(*Lienzo, Impresora, Lienzo->ExtensionCircuito(), kMargenDibujo,
                  NombrePie(ArchivoActual), FechaPie(QDate::currentDate()));
}

void TfrmMain::btnImprimirClick() {
    // The shortcut reaches here in every mode; the button tells when it may.
    if (!btnImprimir->isEnabled())
        return;
    // Laid out in pixels of the screen's size, as the PDF picture, so lines
    // are as wide on paper as there.
    QPrinter Impresora(QPrinter::ScreenResolution);
    Impresora.setDocName(NombrePie(ArchivoActual));
    Impresora.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                        PaginaVertical(Lienzo->ExtensionCircuito())
                                            ? QPageLayout::Portrait
                                            : QPageLayout::Landscape,
                                        QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPrintPreviewDialog d(&Impresora, this);
    d.setWindowTitle(QStringLiteral("Imprimir el circuito"));
    connect(&d, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { Proteger([this, p] { ImprimirEn(*p); }); });
    if (EjecutarImpresion)
        EjecutarImpresion(d);
    else
        d.exec();
}

} // namespace ventix
