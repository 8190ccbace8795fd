#include "circuit/AerTexto.h"

#include "circuit/AerPaintBox.h"

#include <QFontMetricsF>
#include <QPainter>

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

void TAerTexto::Dibujar() {
    auto& L = GetLienzo();
    if (Asociado) {
        if (L.Seleccionado == this && L.Arrastre == arSeleccion) {
            DX = X - Asociado->X;
            DY = Y - Asociado->Y;
        } else {
            X = Asociado->X + DX;
            Y = Asociado->Y + DY;
        }
    }
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
        Medida = std::make_unique<TMedida>(TMedida{Cadena, cadena, f, caja});
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
    g->setFont(f);
    g->setPen(QPen(ColorTexto));
    g->drawText(QRectF(0, -caja.height() / 2, caja.width() + 1, caja.height()),
                Qt::AlignLeft | Qt::AlignTop, cadena);
    g->restore();
}

} // namespace ventix
