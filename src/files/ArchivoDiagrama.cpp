#include "files/ArchivoDiagrama.h"

#include "foundation/Archivo.h"

#include "sim/Diagrama.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <stdexcept>

namespace ventix::ArchivoDiagrama {

namespace {

QByteArray Png(const TDiagrama& D) {
    QImage img(D.Tamano(), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        D.Pintar(p);
    }
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    return bytes;
}

QByteArray Svg(const TDiagrama& D) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QSvgGenerator g;
    g.setOutputDevice(&b);
    g.setSize(D.Tamano());
    g.setViewBox(QRect(QPoint(0, 0), D.Tamano()));
    g.setTitle(QStringLiteral("Diagrama espacio-fase"));
    g.setDescription(QStringLiteral("Ventix"));
    {
        QPainter p(&g);
        D.Pintar(p);
    }
    return bytes;
}

} // namespace

void Guardar(const TDiagrama& D, const std::filesystem::path& Ruta) {
    const QString ext = QString::fromStdString(Ruta.extension().string()).toLower();
    QByteArray bytes;
    if (ext == QStringLiteral(".png"))
        bytes = Png(D);
    else if (ext == QStringLiteral(".svg"))
        bytes = Svg(D);
    else if (ext == QStringLiteral(".csv"))
        bytes = QByteArray::fromStdString(D.Csv());
    else
        throw std::runtime_error("formato de diagrama desconocido \"" + Ruta.extension().string() +
                                 "\" (se admiten .png, .svg y .csv)");
    EscribirArchivo(Ruta,
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace ventix::ArchivoDiagrama
