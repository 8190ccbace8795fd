#include "files/Exportar.h"

#include "cad/PaintBox.h"
#include "files/Imagen.h"
#include "foundation/Archivo.h"
#include "foundation/Texto.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <stdexcept>

namespace ventix {

namespace {

// The largest side of a picture, in pixels.
constexpr int kLadoMaximo = 1 << 15;

// Pages are laid out in pixels of the screen's size (1/96 inch), so a line
// one pixel wide on the screen is as wide on paper.
constexpr int kPuntosPorPulgada = 96;

std::string Extension(const std::filesystem::path& Ruta) {
    return MayusculasES(Ruta.extension().string());
}

void ComprobarTamano(const QSize& Tamano) {
    if (Tamano.width() < 1 || Tamano.height() < 1 || Tamano.width() > kLadoMaximo ||
        Tamano.height() > kLadoMaximo)
        throw std::runtime_error(
            "No se puede hacer una imagen de " + std::to_string(Tamano.width()) + " x " +
            std::to_string(Tamano.height()) + " píxeles: cada lado debe medir de 1 a 32768");
}

void EscribirBytes(const std::filesystem::path& Ruta, const std::string& Bytes) {
    EscribirArchivo(Ruta, Bytes);
}

} // namespace

bool EsVectorial(const std::filesystem::path& Ruta) {
    const std::string ext = Extension(Ruta);
    return ext == ".SVG" || ext == ".PDF";
}

std::string CodificarSvg(TCADPaintBox& Vista, const QSize& Tamano, const TCADLimites& Mundo,
                         double Margen, const QString& Titulo) {
    ComprobarTamano(Tamano);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(Tamano);
    svg.setViewBox(QRect(QPoint(0, 0), Tamano));
    svg.setResolution(kPuntosPorPulgada);
    svg.setTitle(Titulo);
    svg.setDescription(QStringLiteral("Circuito neumático dibujado con Ventix"));
    Vista.DibujarEn(svg, Tamano, Mundo, Margen);
    return bytes.toStdString();
}

bool PaginaVertical(const TCADLimites& Mundo) {
    return Mundo.Top - Mundo.Bottom > Mundo.Right - Mundo.Left;
}

void DibujarPagina(TCADPaintBox& Vista, QPaintDevice& Pagina, const TCADLimites& Mundo,
                   double Margen, const QString& Nombre, const QString& Fecha) {
    const int ancho = Pagina.width(), alto = Pagina.height();
    // An 8-point footer in a band twice its height.
    QFont fuente(QStringLiteral("Arial"));
    fuente.setStyleHint(QFont::SansSerif);
    fuente.setPixelSize(
        std::max(1, static_cast<int>(std::lround(Pagina.logicalDpiY() * 8.0 / 72))));
    const int banda = 2 * fuente.pixelSize();
    const QRect pie(0, alto - banda, ancho, banda);
    Vista.DibujarEn(Pagina, QSize(ancho, std::max(1, alto - banda)), Mundo, Margen,
                    [&](QPainter& g) {
                        g.setPen(QPen(QColor(0x80, 0x80, 0x80), 0));
                        g.drawLine(pie.topLeft(), pie.topRight());
                        g.setFont(fuente);
                        g.setPen(QColor(0x40, 0x40, 0x40));
                        g.drawText(pie, Qt::AlignLeft | Qt::AlignVCenter, Nombre);
                        g.drawText(pie, Qt::AlignRight | Qt::AlignVCenter, Fecha);
                    });
}

std::string CodificarPdf(TCADPaintBox& Vista, const TCADLimites& Mundo, double Margen,
                         const QString& Nombre, const QDate& Fecha) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Ventix"));
        pdf.setTitle(Nombre);
        pdf.setResolution(kPuntosPorPulgada);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        PaginaVertical(Mundo) ? QPageLayout::Portrait : QPageLayout::Landscape,
                        QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        DibujarPagina(Vista, pdf, Mundo, Margen, Nombre, FechaPie(Fecha));
    }
    return bytes.toStdString();
}

QString FechaPie(const QDate& Fecha) {
    return QLocale(QLocale::Spanish, QLocale::Spain)
        .toString(Fecha, QStringLiteral("d 'de' MMMM 'de' yyyy"));
}

void GuardarDibujo(TCADPaintBox& Vista, const std::filesystem::path& Ruta, const QSize& Tamano,
                   const TCADLimites& Mundo, double Margen, const QString& Nombre) {
    const std::string ext = Extension(Ruta);
    if (ext == ".SVG") {
        EscribirBytes(Ruta, CodificarSvg(Vista, Tamano, Mundo, Margen, Nombre));
    } else if (ext == ".PDF") {
        EscribirBytes(Ruta, CodificarPdf(Vista, Mundo, Margen, Nombre, QDate::currentDate()));
    } else {
        FormatoImagen(Ruta);
        ComprobarTamano(Tamano);
        QImage imagen(Tamano, QImage::Format_RGB32);
        if (imagen.isNull())
            throw std::runtime_error("No hay memoria suficiente para una imagen de " +
                                     std::to_string(Tamano.width()) + " x " +
                                     std::to_string(Tamano.height()) + " píxeles");
        Vista.DibujarEn(imagen, Tamano, Mundo, Margen);
        GuardarImagen(imagen, Ruta);
    }
}

} // namespace ventix
