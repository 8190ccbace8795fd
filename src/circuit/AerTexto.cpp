#include "circuit/AerTexto.h"

#include "circuit/AerPaintBox.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace ventix {

namespace {

// Glyphs are laid out at this pixel size and scaled to the text's size in
// circuit units, since font sizes in whole pixels cannot express 4.2 units.
constexpr int kTamanoDibujo = 100;

} // namespace

TAerTexto::TAerTexto(TAerPaintBox& L) : TAerComponente(L, TTipoComponente::TextBox) {
    ConstruirFuente();
}

TAerTexto::~TAerTexto() = default;

TAerTexto* TAerTexto::Crear(TAerPaintBox& L) {
    return static_cast<TAerTexto*>(L.Textos.Agregar(std::make_unique<TAerTexto>(L)));
}

void TAerTexto::ConstruirFuente() {
    Medida.reset();
    Fuente = QFont(Familia);
    Fuente.setPointSizeF(Tamano > 0 ? Tamano : 1.0);
    Fuente.setBold(Estilo & etNegrita);
    Fuente.setItalic(Estilo & etItalica);
    Fuente.setUnderline(Estilo & etSubrayada);
    Fuente.setStrikeOut(Estilo & etTachada);
    ++Construcciones;
}

void TAerTexto::SetEstilo(std::uint8_t E) {
    if (E == Estilo)
        return;
    Estilo = E;
    ConstruirFuente();
}

void TAerTexto::SetTamano(double T) {
    if (T == Tamano)
        return;
    Tamano = T;
    ConstruirFuente();
}

void TAerTexto::SetFamilia(const QString& F) {
    if (F == Familia)
        return;
    Familia = F;
    ConstruirFuente();
}

void TAerTexto::SetAsociado(TAerComponente* E) {
    Asociado = E;
    if (E) {
        DX = X - E->X;
        DY = Y - E->Y;
    }
}

void TAerTexto::Seguir() {
    if (!Asociado)
        return;
    const auto& L = GetLienzo();
    if (L.Seleccionado == this && L.Arrastre == arSeleccion) {
        DX = X - Asociado->X;
        DY = Y - Asociado->Y;
    } else {
        X = Asociado->X + DX;
        Y = Asociado->Y + DY;
    }
}

namespace {

// Whether a text is one line the painter lays out as it stands: no line
// breaks, tabs or other control characters.
bool UnaLinea(const QString& Texto) {
    for (const QChar c : Texto)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    return true;
}

// The glyphs of one line laid out as the painter lays out a text in a
// rectangle, aligned to its top left.
QList<QGlyphRun> Formar(const QString& Texto, const QFont& Fuente) {
    QTextOption opciones;
    opciones.setWrapMode(QTextOption::ManualWrap);
    opciones.setFlags(QTextOption::IncludeTrailingSpaces);
    QTextLayout disposicion(Texto, Fuente);
    disposicion.setTextOption(opciones);
    disposicion.beginLayout();
    QTextLine l = disposicion.createLine();
    if (l.isValid()) {
        l.setLineWidth(0x01000000);
        l.setPosition(QPointF(0, 0));
    }
    disposicion.endLayout();
    return disposicion.glyphRuns();
}

} // namespace

void TAerTexto::Dibujar() {
    auto& L = GetLienzo();
    Seguir();
    if (L.MostrarEstrellas && L.Modo < mdTubo)
        TAerComponente::Dibujar();

    QPainter* g = L.GetGraphics();
    if (!L.MostrarTextos || !g)
        return;
    // The text's box is measured again only when the text or its font
    // changed: laying a text out costs more than drawing it.
    if (!Medida || Medida->Cadena != Cadena) {
        QFont f = Fuente;
        f.setPixelSize(kTamanoDibujo);
        const QString cadena = QString::fromStdString(Cadena);
        const QRectF caja = QFontMetricsF(f).boundingRect(QRectF(0, 0, 1e6, 1e6),
                                                          Qt::AlignLeft | Qt::AlignTop, cadena);
        Medida = std::make_unique<TMedida>();
        Medida->Cadena = Cadena;
        Medida->Texto = cadena;
        Medida->Fuente = f;
        Medida->Caja = caja;
        Medida->PorGlifos = !f.underline() && !f.strikeOut() && UnaLinea(cadena);
    }
    const QFont& f = Medida->Fuente;
    const QString& cadena = Medida->Texto;
    const QRectF& caja = Medida->Caja;
    const double escala = Tamano / kTamanoDibujo;

    QTransform local;
    local.translate(X, Y);
    if (Alfa != 0)
        local.rotate(Alfa);
    local.scale(escala, -escala); // upright glyphs in the Y-up circuit
    g->save();
    g->setTransform(local * L.TransformPantalla());
    g->setPen(QPen(ColorTexto));
    const QRectF rectangulo(0, -caja.height() / 2, caja.width() + 1, caja.height());
    if (Medida->PorGlifos && g->device()->devType() == QInternal::Image) {
        // Shaping a text costs more than drawing it: it is done once, and the
        // glyphs land on the pixels the painter's text drawing would light.
        // A vector picture keeps its texts as texts.
        if (!Medida->Formada) {
            Medida->Glifos = Formar(cadena, f);
            Medida->Formada = true;
        }
        for (const QGlyphRun& c : Medida->Glifos)
            g->drawGlyphRun(rectangulo.topLeft(), c);
    } else {
        g->setFont(f);
        g->drawText(rectangulo, Qt::AlignLeft | Qt::AlignTop, cadena);
    }
    g->restore();
}

} // namespace ventix
