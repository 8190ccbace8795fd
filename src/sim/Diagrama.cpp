#include "sim/Diagrama.h"

#include "foundation/Numeros.h"
#include "foundation/Texto.h"
#include "sim/Registro.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ventix {

TDiagrama::TDiagrama(const TRegistro& R) : Registro(R) {
    // The label column fits the longest name, within reason.
    const QFontMetrics m(Letra());
    for (const auto& f : Registro.Filas())
        AnchoEtiquetas = std::clamp(m.horizontalAdvance(QString::fromStdString(f.Nombre)) + 24,
                                    AnchoEtiquetas, 220);
}

QFont TDiagrama::Letra() {
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setPixelSize(11);
    return letra;
}

int TDiagrama::NumPasos() const {
    return std::max(0, static_cast<int>(Registro.InstantesDePaso().size()) - 1);
}

void TDiagrama::AjustarAncho(int Ancho) {
    const int n = std::max(1, NumPasos());
    AnchoColumna = std::max(4, (Ancho - AnchoEtiquetas - 1) / n);
}

QRect TDiagrama::Fila(int I) const {
    // The cylinders' rows come first, all of one height; then the others.
    const int cilindros = std::min(I, Registro.NumCilindros());
    const int y = AltoCabecera + cilindros * AltoCilindro + (I - cilindros) * AltoFila;
    return QRect(0, y, AnchoEtiquetas + NumPasos() * AnchoColumna,
                 I < Registro.NumCilindros() ? AltoCilindro : AltoFila);
}

QSize TDiagrama::Tamano() const {
    const int filas = static_cast<int>(Registro.Filas().size());
    const int alto = AltoCabecera + Registro.NumCilindros() * AltoCilindro +
                     (filas - Registro.NumCilindros()) * AltoFila;
    return QSize(AnchoEtiquetas + NumPasos() * AnchoColumna + 1, alto + 1);
}

int TDiagrama::PasoEn(int X) const {
    if (X < AnchoEtiquetas || AnchoColumna <= 0)
        return 0;
    const int p = (X - AnchoEtiquetas) / AnchoColumna + 1;
    return p <= NumPasos() ? p : 0;
}

QColor TDiagrama::ColorCilindro(int I) {
    static const QColor colores[] = {
        QColor(0, 90, 200),   QColor(210, 40, 40), QColor(0, 150, 60),   QColor(230, 130, 0),
        QColor(140, 50, 170), QColor(0, 150, 160), QColor(170, 110, 40), QColor(220, 60, 150),
    };
    return colores[I % static_cast<int>(std::size(colores))];
}

namespace {

// Whether a row's drawing (inside its rectangle, pens included) reaches what
// is painted: all of it when no rectangle is given.
bool Alcanza(const QRect& Fila, const QRect& Vista) {
    return Vista.isNull() || Fila.adjusted(0, -2, 0, 2).intersects(Vista);
}

} // namespace

void TDiagrama::Pintar(QPainter& P, const QRect& Vista) const {
    P.save();
    P.setRenderHint(QPainter::Antialiasing);
    P.setRenderHint(QPainter::TextAntialiasing);
    const QSize t = Tamano();
    const int pasos = NumPasos();
    const auto instantes = Registro.InstantesDePaso();
    P.fillRect(QRect(QPoint(0, 0), t), Qt::white);
    if (Resaltado >= 1 && Resaltado <= pasos)
        P.fillRect(QRect(XPaso(Resaltado), 0, AnchoColumna, t.height()), QColor(255, 240, 170));

    P.setFont(Letra());
    P.setPen(QPen(QColor(200, 200, 200), 1));
    // Step numbers, thinned out when columns are narrow.
    const int cada = std::max(1, 24 / std::max(1, AnchoColumna));
    for (int k = 1; k <= pasos; ++k) {
        const int x = XPaso(k);
        P.setPen(QPen(QColor(210, 210, 210), 1));
        P.drawLine(x, AltoCabecera, x, t.height() - 1);
        if (k % cada == 0 || k == 1) {
            P.setPen(Qt::black);
            P.drawText(QRect(x, 0, AnchoColumna * cada, AltoCabecera),
                       cada == 1 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(k));
        }
    }
    const int filas = static_cast<int>(Registro.Filas().size());
    for (int f = 0; f < filas; ++f) {
        const QRect r = Fila(f);
        if (!Alcanza(r, Vista))
            continue;
        P.setPen(QPen(QColor(160, 160, 160), 1));
        P.drawLine(0, r.top(), t.width() - 1, r.top());
        // Levels 1 and 0 of the row.
        const bool cilindro = f < Registro.NumCilindros();
        const int margen = cilindro ? 8 : 6;
        const double y0 = r.bottom() - margen, y1 = r.top() + margen;
        if (cilindro) {
            P.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
            P.drawLine(QPointF(AnchoEtiquetas, y1), QPointF(t.width() - 1, y1));
            P.drawLine(QPointF(AnchoEtiquetas, y0), QPointF(t.width() - 1, y0));
        }
        if (instantes.empty())
            continue;
        QPainterPath linea;
        for (int k = 0; k <= pasos; ++k) {
            const double v =
                std::clamp(Registro.Valor(instantes[static_cast<std::size_t>(k)], f), 0.0, 1.0);
            const QPointF p(AnchoEtiquetas + k * AnchoColumna, y0 + (y1 - y0) * v);
            if (k == 0)
                linea.moveTo(p);
            else if (cilindro)
                linea.lineTo(p);
            else {
                // Valves, buttons and timers switch at the start of the step.
                linea.lineTo(QPointF(linea.currentPosition().x(), p.y()));
                linea.lineTo(p);
            }
        }
        if (cilindro)
            P.setPen(QPen(ColorCilindro(f), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            P.setPen(QPen(QColor(40, 40, 40), 1.5));
        P.setBrush(Qt::NoBrush);
        P.drawPath(linea);
    }
    P.setPen(QPen(QColor(120, 120, 120), 1));
    P.drawLine(0, AltoCabecera, t.width() - 1, AltoCabecera);
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRect(0, 0, t.width() - 1, t.height() - 1));
    P.restore();
    PintarEtiquetas(P, 0, Vista);
}

void TDiagrama::PintarEtiquetas(QPainter& P, int X, const QRect& Vista) const {
    P.save();
    P.setRenderHint(QPainter::Antialiasing);
    P.setRenderHint(QPainter::TextAntialiasing);
    P.setFont(Letra());
    const int alto = Tamano().height();
    P.fillRect(QRect(X, 0, AnchoEtiquetas, alto), Qt::white);
    const int filas = static_cast<int>(Registro.Filas().size());
    for (int f = 0; f < filas; ++f) {
        const QRect r = Fila(f);
        if (!Alcanza(r, Vista))
            continue;
        P.setPen(QPen(QColor(160, 160, 160), 1));
        P.drawLine(X, r.top(), X + AnchoEtiquetas, r.top());
        P.setPen(Qt::black);
        P.drawText(QRect(X + 4, r.top(), AnchoEtiquetas - 8, r.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   P.fontMetrics().elidedText(
                       QString::fromStdString(Registro.Filas()[static_cast<std::size_t>(f)].Nombre),
                       Qt::ElideRight, AnchoEtiquetas - 8));
        if (f < Registro.NumCilindros()) {
            // The levels 1 and 0 beside the line.
            P.setPen(QColor(110, 110, 110));
            P.drawText(QRect(X + AnchoEtiquetas - 14, r.top() + 8 - 7, 12, 14),
                       Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1"));
            P.drawText(QRect(X + AnchoEtiquetas - 14, r.bottom() - 8 - 7, 12, 14),
                       Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
        }
    }
    P.setPen(QPen(QColor(120, 120, 120), 1));
    P.drawLine(X + AnchoEtiquetas, 0, X + AnchoEtiquetas, alto - 1);
    P.drawLine(X, AltoCabecera, X + AnchoEtiquetas, AltoCabecera);
    P.drawLine(X, 0, X, alto - 1);
    P.drawLine(X, 0, X + AnchoEtiquetas, 0);
    P.drawLine(X, alto - 1, X + AnchoEtiquetas, alto - 1);
    P.restore();
}

std::string TDiagrama::Csv() const {
    std::string r = "paso";
    for (const auto& f : Registro.Filas())
        r += "," + CampoCsv(f.Nombre);
    r += "\r\n";
    const int filas = static_cast<int>(Registro.Filas().size());
    for (int i : Registro.InstantesDePaso()) {
        r += std::to_string(Registro.Paso(i));
        for (int f = 0; f < filas; ++f)
            r += "," + NumeroATexto(Registro.Valor(i, f));
        r += "\r\n";
    }
    return r;
}

} // namespace ventix
