#include "editor/Glifos.h"

#include "cad/PaintBox.h"
#include "cad/Simbolos.h"
#include "circuit/Libreria.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace ventix {

namespace {

const QColor Trazo(0x30, 0x30, 0x38);
const QColor Acento(0x1E, 0x6F, 0xD9);
const QColor Alarma(0xC6, 0x28, 0x28);
const QColor Bien(0x2E, 0x8B, 0x3E);

QPen Pluma(const QColor& c, double w = 1.6) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Lupa(QPainter& p, const QString& Signo) {
    p.setPen(Pluma(Trazo, 1.8));
    p.drawEllipse(QRectF(6, 2, 11, 11));
    p.drawLine(QPointF(15.5, 11.5), QPointF(20, 16));
    p.setPen(Pluma(Acento, 1.6));
    if (Signo == "+" || Signo == "-")
        p.drawLine(QPointF(9, 7.5), QPointF(14, 7.5));
    if (Signo == "+")
        p.drawLine(QPointF(11.5, 5), QPointF(11.5, 10));
    if (Signo == "1") {
        p.setFont(QFont("DejaVu Sans", 6, QFont::Bold));
        p.drawText(QRectF(6, 2, 11, 11), Qt::AlignCenter, "1");
    }
    if (Signo == "[]")
        p.drawRect(QRectF(9, 5, 5, 5));
}

void Dibujar(QPainter& p, const QString& n) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pluma(Trazo));
    if (n == "nuevo") {
        p.drawPolygon(QPolygonF({{7, 2}, {15, 2}, {18, 5}, {18, 16}, {7, 16}}));
        p.setPen(Pluma(Acento));
        p.drawLine(QPointF(9.5, 9), QPointF(15.5, 9));
        p.drawLine(QPointF(12.5, 6), QPointF(12.5, 12));
    } else if (n == "abrir") {
        p.drawPolygon(QPolygonF({{3, 4}, {9, 4}, {11, 6}, {19, 6}, {19, 15}, {3, 15}}));
        p.setBrush(QColor(0xDC, 0xE8, 0xF8));
        p.setPen(Pluma(Acento));
        p.drawPolygon(QPolygonF({{5, 9}, {21, 9}, {19, 15}, {3, 15}}));
    } else if (n == "guardar") {
        p.drawRoundedRect(QRectF(5, 2, 14, 14), 1.5, 1.5);
        p.setPen(Pluma(Acento));
        p.drawRect(QRectF(8, 2, 8, 5));
        p.drawRect(QRectF(8, 10, 8, 6));
    } else if (n == "imagen") {
        p.drawRect(QRectF(3, 3, 18, 12));
        p.setPen(Pluma(Acento));
        p.drawPolyline(QPolygonF({{5, 13}, {10, 8}, {13, 11}, {15, 9}, {19, 13}}));
        p.drawEllipse(QRectF(15, 5, 2.5, 2.5));
    } else if (n == "imprimir") {
        p.drawRect(QRectF(7, 2, 10, 5));
        p.drawRoundedRect(QRectF(3, 7, 18, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 11, 10, 6));
        p.setPen(Pluma(Acento, 1.2));
        p.drawLine(QPointF(9, 13.5), QPointF(15, 13.5));
        p.drawLine(QPointF(9, 15.5), QPointF(13, 15.5));
    } else if (n == "zoommas") {
        Lupa(p, "+");
    } else if (n == "zoommenos") {
        Lupa(p, "-");
    } else if (n == "zoom1") {
        Lupa(p, "1");
    } else if (n == "zoomext") {
        Lupa(p, "[]");
    } else if (n == "editar") {
        p.drawLine(QPointF(6, 15), QPointF(17, 4));
        p.drawLine(QPointF(8, 17), QPointF(19, 6));
        p.drawLine(QPointF(17, 4), QPointF(19, 6));
        p.setPen(Pluma(Acento));
        p.drawLine(QPointF(6, 15), QPointF(5, 18));
        p.drawLine(QPointF(5, 18), QPointF(8, 17));
    } else if (n == "verificar") {
        p.setPen(Pluma(Bien, 2.4));
        p.drawPolyline(QPolygonF({{6, 9}, {10, 14}, {19, 4}}));
    } else if (n == "errores") {
        p.drawRect(QRectF(5, 2, 14, 14));
        p.setPen(Pluma(Alarma, 1.8));
        p.drawLine(QPointF(12, 5), QPointF(12, 10.5));
        p.drawPoint(QPointF(12, 13.5));
    } else if (n == "play") {
        p.setBrush(Bien);
        p.setPen(Pluma(Bien, 1));
        p.drawPolygon(QPolygonF({{8, 3}, {18, 9}, {8, 15}}));
    } else if (n == "paso") {
        p.setBrush(Acento);
        p.setPen(Pluma(Acento, 1));
        p.drawPolygon(QPolygonF({{6, 4}, {14, 9}, {6, 14}}));
        p.drawRect(QRectF(16, 4, 2.5, 10));
    } else if (n == "pausa") {
        p.setBrush(Trazo);
        p.drawRect(QRectF(7, 4, 3.5, 10));
        p.drawRect(QRectF(13.5, 4, 3.5, 10));
    } else if (n == "stop") {
        p.setBrush(Alarma);
        p.setPen(Pluma(Alarma, 1));
        p.drawRect(QRectF(7, 4, 10, 10));
    } else if (n == "conexiones") {
        p.drawLine(QPointF(3, 9), QPointF(9, 9));
        p.setPen(Pluma(Acento));
        p.drawEllipse(QRectF(9, 6, 6, 6));
        p.setPen(Pluma(Trazo));
        p.drawLine(QPointF(15, 9), QPointF(21, 9));
    } else if (n == "vertices") {
        p.drawPolyline(QPolygonF({{3, 15}, {10, 4}, {21, 12}}));
        p.setPen(Pluma(Acento));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 2, 4, 4));
    } else if (n == "estrellas") {
        p.setPen(Pluma(Acento, 1.4));
        p.drawLine(QPointF(6, 9), QPointF(12, 9));
        p.drawLine(QPointF(9, 6), QPointF(9, 12));
        p.drawLine(QPointF(7, 7), QPointF(11, 11));
        p.drawLine(QPointF(11, 7), QPointF(7, 11));
        p.setPen(Pluma(Trazo));
        p.setFont(QFont("DejaVu Sans", 7, QFont::Bold));
        p.drawText(QRectF(11, 4, 11, 12), Qt::AlignCenter, "A");
    } else if (n == "enclavamientos") {
        p.drawRect(QRectF(2, 6, 9, 6));
        p.drawRect(QRectF(15, 4, 6, 10));
        p.setPen(QPen(Acento, 1.4, Qt::DashLine));
        p.drawLine(QPointF(11, 9), QPointF(15, 9));
    } else if (n == "textos") {
        p.setFont(QFont("DejaVu Serif", 11, QFont::Bold));
        p.drawText(QRectF(0, 0, 24, 18), Qt::AlignCenter, "Aa");
    } else if (n == "tuboscontrol") {
        p.setPen(QPen(Trazo, 1.6, Qt::DashLine));
        p.drawPolyline(QPolygonF({{3, 14}, {12, 14}, {12, 4}, {21, 4}}));
    } else if (n == "presiones") {
        p.setPen(Pluma(Alarma, 2.2));
        p.drawLine(QPointF(3, 6), QPointF(21, 6));
        p.setPen(Pluma(Acento, 2.2));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
    } else if (n == "borrar") {
        p.drawLine(QPointF(7, 5), QPointF(17, 5));
        p.drawPolygon(QPolygonF({{8, 5}, {9, 16}, {15, 16}, {16, 5}}));
        p.drawLine(QPointF(10.5, 3), QPointF(13.5, 3));
        p.setPen(Pluma(Alarma, 1.2));
        p.drawLine(QPointF(11, 8), QPointF(11, 14));
        p.drawLine(QPointF(13, 8), QPointF(13, 14));
    } else if (n == "rotar") {
        p.drawArc(QRectF(6, 3, 12, 12), 90 * 16, 270 * 16);
        p.setPen(Pluma(Acento));
        p.drawPolyline(QPolygonF({{9, 1}, {12, 3}, {9, 5.5}}));
    } else if (n == "deshacer" || n == "rehacer") {
        // A hooked arrow, turning back (undo) or on (redo).
        if (n == "rehacer") {
            p.translate(24, 0);
            p.scale(-1, 1);
        }
        QPainterPath Gancho;
        Gancho.moveTo(7, 7);
        Gancho.lineTo(14, 7);
        Gancho.cubicTo(21, 7, 21, 16, 14, 16);
        Gancho.lineTo(9, 16);
        p.drawPath(Gancho);
        p.setPen(Pluma(Acento));
        p.drawPolyline(QPolygonF({{10, 3}, {6, 7}, {10, 11}}));
    } else if (n == "simetrico") {
        p.setPen(QPen(Acento, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 1), QPointF(12, 17));
        p.setPen(Pluma(Trazo));
        p.drawPolygon(QPolygonF({{10, 4}, {10, 14}, {3, 14}}));
        p.drawPolygon(QPolygonF({{14, 4}, {14, 14}, {21, 14}}));
    } else if (n == "alternar") {
        p.drawRect(QRectF(3, 3, 10, 8));
        p.setPen(Pluma(Acento));
        p.drawRect(QRectF(11, 7, 10, 8));
    } else if (n == "muelle") {
        p.drawPolyline(
            QPolygonF({{3, 9}, {5, 4}, {8, 14}, {11, 4}, {14, 14}, {17, 4}, {19, 9}, {21, 9}}));
    } else if (n == "enclavar") {
        p.drawEllipse(QRectF(3, 6, 6, 6));
        p.drawRect(QRectF(14, 4, 7, 10));
        p.setPen(Pluma(Acento));
        p.drawLine(QPointF(9, 9), QPointF(14, 9));
    } else if (n == "izq" || n == "der") {
        p.drawRect(QRectF(2, 4, 10, 10));
        p.drawRect(QRectF(12, 4, 10, 10));
        p.setBrush(QColor(0xDC, 0xE8, 0xF8));
        p.setPen(Pluma(Acento));
        p.drawRect(n == "izq" ? QRectF(2, 4, 10, 10) : QRectF(12, 4, 10, 10));
    } else if (n == "prev" || n == "next") {
        p.setBrush(Acento);
        p.setPen(Pluma(Acento, 1));
        if (n == "prev")
            p.drawPolygon(QPolygonF({{16, 4}, {8, 9}, {16, 14}}));
        else
            p.drawPolygon(QPolygonF({{8, 4}, {16, 9}, {8, 14}}));
    } else if (n == "creartubo") {
        p.drawEllipse(QRectF(2, 11, 5, 5));
        p.drawEllipse(QRectF(17, 2, 5, 5));
        p.setPen(Pluma(Acento));
        p.drawPolyline(QPolygonF({{7, 13.5}, {12, 13.5}, {12, 4.5}, {17, 4.5}}));
    } else if (n.startsWith("linea")) {
        static const QPolygonF Formas[5] = {
            QPolygonF({{3, 15}, {12, 15}, {12, 3}, {21, 3}}),
            QPolygonF({{3, 15}, {21, 15}, {21, 3}}),
            QPolygonF({{3, 15}, {3, 9}, {21, 9}, {21, 3}}),
            QPolygonF({{3, 15}, {3, 3}, {21, 3}}),
            QPolygonF({{3, 15}, {21, 3}}),
        };
        const int k = std::clamp(n.mid(5).toInt(), 0, 4);
        p.drawPolyline(Formas[k]);
        p.setPen(Pluma(Acento, 1));
        p.setBrush(Acento);
        p.drawEllipse(QPointF(3, 15), 1.6, 1.6);
        p.drawEllipse(QPointF(21, 3), 1.6, 1.6);
    } else if (n == "retroceso" || n == "avance") {
        p.drawRect(QRectF(2, 5, 13, 8));
        p.drawLine(QPointF(15, 9), QPointF(21, 9));
        p.setPen(Pluma(Acento, 1.8));
        if (n == "avance")
            p.drawPolyline(QPolygonF({{14, 2}, {19, 2}, {17, 0.5}}));
        else
            p.drawPolyline(QPolygonF({{19, 16}, {14, 16}, {16, 17.5}}));
    } else if (n == "ok") {
        p.setPen(Pluma(Bien, 2));
        p.drawPolyline(QPolygonF({{6, 9}, {10, 13}, {18, 5}}));
    } else if (n == "enlace") {
        p.drawRoundedRect(QRectF(2, 6, 10, 6), 3, 3);
        p.setPen(Pluma(Acento));
        p.drawRoundedRect(QRectF(12, 6, 10, 6), 3, 3);
    } else if (n == "rele" || n == "seta" || n == "derecha") {
        // Panel buttons of the simulation: a relay coil, a push-button, the
        // right-hand actuator of a bistable valve.
        if (n == "rele") {
            p.drawRect(QRectF(7, 4, 10, 10));
            p.setPen(Pluma(Acento));
            p.drawLine(QPointF(7, 14), QPointF(17, 4));
        } else if (n == "seta") {
            p.drawArc(QRectF(5, 3, 14, 10), 0, 180 * 16);
            p.drawLine(QPointF(5, 8), QPointF(19, 8));
            p.setPen(Pluma(Acento));
            p.drawLine(QPointF(12, 8), QPointF(12, 16));
        } else {
            p.drawRect(QRectF(7, 4, 10, 10));
            p.setPen(Pluma(Acento));
            p.drawLine(QPointF(7, 4), QPointF(17, 14));
        }
    }
}

} // namespace

QIcon Glifo(const QString& Nombre) {
    QIcon Icono;
    for (const int k : {1, 2}) {
        QPixmap pm(24 * k, 18 * k);
        pm.setDevicePixelRatio(k);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        Dibujar(p, Nombre);
        p.end();
        Icono.addPixmap(pm);
    }
    return Icono;
}

double AnchoSimbolo(const TAerLibreria& Libreria, TTipoComponente Tipo) {
    TCADComponente* Simbolo = Libreria.GetSimbolo(Tipo);
    if (!Simbolo)
        return 0;
    TCADPaintBox Vista;
    TCADIndividuo Individuo;
    Individuo.SetComponente(Simbolo);
    Individuo.Estado = Libreria.GetParametro(Tipo);
    Individuo.Dibujar(Vista, false);
    return Individuo.Bounds.Width;
}

QIcon GlifoSimbolo(const TAerLibreria& Libreria, TTipoComponente Tipo, int Ancho, int Alto) {
    TCADComponente* Simbolo = Libreria.GetSimbolo(Tipo);
    if (!Simbolo)
        return {};
    const int k = 2; // drawn at twice the size for sharp glyphs on dense screens
    TCADPaintBox Vista;
    TCADIndividuo Individuo;
    Individuo.SetComponente(Simbolo);
    Individuo.Estado = Libreria.GetParametro(Tipo);
    Individuo.Dibujar(Vista, false);
    const TCADRectF b = Individuo.Bounds;
    if (!(b.Width > 0 || b.Height > 0))
        return {};
    Vista.SetCliente(Ancho * k, Alto * k);
    Vista.Activar();
    Vista.Paint();
    const double zx = b.Width > 0 ? (Ancho * k - 6) / b.Width : 1e9;
    const double zy = b.Height > 0 ? (Alto * k - 6) / b.Height : 1e9;
    Vista.SetZoom(std::min(zx, zy));
    Vista.Centrar(b.X + b.Width / 2.0, b.Y + b.Height / 2.0);
    Vista.OnPintar = [&](TCADPaintBox& V) { Individuo.Dibujar(V, true); };
    Vista.Paint();
    // The view paints black on white: the darkness becomes the glyph's alpha,
    // so it sits cleanly on any button face.
    QImage Imagen(Ancho * k, Alto * k, QImage::Format_ARGB32);
    for (int y = 0; y < Imagen.height(); ++y)
        for (int x = 0; x < Imagen.width(); ++x) {
            const QRgb c = Vista.Bitmap.pixel(x, y);
            const int Alfa = 255 - std::min({qRed(c), qGreen(c), qBlue(c)});
            Imagen.setPixel(x, y, qRgba(0x20, 0x20, 0x28, Alfa));
        }
    QPixmap pm = QPixmap::fromImage(Imagen);
    pm.setDevicePixelRatio(k);
    return QIcon(pm);
}

} // namespace ventix
