#include "ConCatalogo.h"

#include <QFontMetricsF>
#include <QPainter>

using namespace ventix;

namespace {

class Textos : public TConCatalogo {
protected:
    Textos() : TConCatalogo(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt") {}
    void SetUp() override {
        L.SetCliente(300, 200);
        L.Activar();
        L.MostrarTextos = true;
        L.Paint();
    }
    // The picture with the texts drawn by the canvas, or instead by the
    // painter's own text drawing in a rectangle, as texts were drawn before
    // they kept their glyphs.
    QImage Pintar(bool ComoElPintor) {
        L.MostrarTextos = !ComoElPintor;
        L.OnPintar = [&](TCADPaintBox&) {
            if (!ComoElPintor)
                return;
            QPainter* g = L.GetGraphics();
            for (int i = 0; i < L.Textos.Count(); ++i) {
                const auto* t = L.Textos.ItemComo<TAerTexto>(i);
                QFont f = t->GetFuente();
                f.setPixelSize(100);
                const QString cadena = QString::fromStdString(t->Cadena);
                const QRectF caja = QFontMetricsF(f).boundingRect(
                    QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, cadena);
                QTransform local;
                local.translate(t->X, t->Y);
                if (t->Alfa != 0)
                    local.rotate(t->Alfa);
                local.scale(t->GetTamano() / 100, -t->GetTamano() / 100);
                g->save();
                g->setTransform(local * L.TransformPantalla());
                g->setFont(f);
                g->setPen(QPen(t->ColorTexto));
                g->drawText(QRectF(0, -caja.height() / 2, caja.width() + 1, caja.height()),
                            Qt::AlignLeft | Qt::AlignTop, cadena);
                g->restore();
            }
        };
        L.Paint();
        L.OnPintar = nullptr;
        return L.Bitmap.copy(0, 0, 300, 200);
    }
};

} // namespace

// A circuit text is shaped once and drawn from its glyphs: every pixel is
// the painter's own, in any turn, size, style and zoom, after a change of its
// string or font, and for texts the glyphs cannot hold (line breaks,
// decorations), which the painter still draws.
TEST_F(Textos, GlyphsLightThePixelsThePainterWould) {
    auto* t = TAerTexto::Crear(L);
    t->X = -7.3;
    t->Y = 2.9;
    auto* otro = TAerTexto::Crear(L);
    otro->Cadena = "Válvula 1V1 & ñ [3]  ";
    otro->X = -10;
    otro->Y = -8;
    otro->ColorTexto = QColor(200, 30, 60);
    int casos = 0;
    for (const double zoom : {3.7, 11.0})
        for (const double alfa : {0.0, 33.0, 90.0})
            for (const int estilo : {int(etNormal), etNegrita | etItalica})
                for (const char* cadena : {"Texto", " WM.ij 12", "Sube\nBaja", ""}) {
                    L.SetZoom(zoom);
                    L.Centrar(0, 0);
                    t->Alfa = alfa;
                    t->SetEstilo(static_cast<std::uint8_t>(estilo));
                    t->SetTamano(alfa == 33.0 ? 5.3 : 4.0);
                    t->Cadena = cadena;
                    const QImage propia = Pintar(false);
                    ASSERT_EQ(propia, Pintar(true))
                        << zoom << " " << alfa << " " << estilo << " " << cadena;
                    ++casos;
                }
    t->SetEstilo(etSubrayada | etTachada);
    EXPECT_EQ(Pintar(false), Pintar(true));
    EXPECT_EQ(casos, 48);
}

// A text far from the picture is posed again only when something it is posed
// from changed: its element moved, it moved itself, its mark came back into
// sight. It is then hit where it is.
TEST_F(Textos, MarksOutOfSightFollowTheirElementAndTheSwitches) {
    L.MostrarEstrellas = true;
    L.SetZoom(10);
    L.Centrar(0, 0);
    auto* c = TAerComponente::Crear(L, T::Presion);
    c->X = 500;
    auto* t = TAerTexto::Crear(L);
    t->X = 520;
    t->Y = 30;
    t->SetAsociado(c);
    L.Paint();
    const QRectF antes = t->Region.Limites();
    ASSERT_FALSE(antes.isEmpty());

    c->X = 600;
    L.Paint();
    EXPECT_NEAR(t->Region.Limites().left(), antes.left() + 100, 1e-4);
    const QPointF centro = t->Region.Limites().center();
    EXPECT_EQ(L.ElementoEn({centro.x(), centro.y()}), t);

    // Marks hidden: nothing is posed, and the text may move meanwhile.
    L.MostrarEstrellas = false;
    L.Paint();
    t->SetAsociado(nullptr);
    t->X = 700;
    L.Paint();
    EXPECT_NEAR(t->Region.Limites().center().x(), centro.x(), 1e-4); // where it was posed
    L.MostrarEstrellas = true;
    L.Paint();
    EXPECT_NEAR(t->Region.Limites().left(), antes.left() + 180, 1e-4);
    EXPECT_EQ(L.ElementoEn({t->Region.Limites().center().x(), t->Region.Limites().center().y()}),
              t);

    // The extent of the drawing is what posing everything gives.
    const TCADRectF e = L.Extension;
    L.ActualizarGeometria();
    EXPECT_EQ(e.X, L.Extension.X);
    EXPECT_EQ(e.Width, L.Extension.Width);
}
