#include "ConCatalogo.h"

using namespace ventix;

namespace {

// A 600 x 400 canvas at zoom 10 whose test symbols give every element a hit
// area: components a 40 x 16 box from their position up and to the right,
// points, vertices and text marks a dial of radius 10 about them.
class Lienzo : public TConCatalogo {
protected:
    Lienzo() : TConCatalogo(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt") {}
    void SetUp() override {
        ASSERT_NE(L.Libreria.GetSimbolo(T::Presion), nullptr);
        L.SetCliente(600, 400);
        L.Activar();
        L.MostrarConexiones = L.MostrarVertices = L.MostrarEstrellas = L.MostrarTextos = true;
        L.MostrarEnclavamientos = L.MostrarTubosControl = L.MostrarPresiones = true;
        L.Paint(); // puts the world origin at the centre
        L.SetZoom(10);
    }
    QPoint Pixel(double x, double y) const {
        const QPointF p = L.MundoAPantalla({x, y});
        return {qRound(p.x()), qRound(p.y())};
    }
    void Pulsar(double x, double y, Qt::MouseButton b = Qt::LeftButton) {
        const QPoint p = Pixel(x, y);
        L.MouseDown(b, Qt::NoModifier, p.x(), p.y());
    }
    void Mover(double x, double y) {
        const QPoint p = Pixel(x, y);
        L.MouseMove(Qt::NoModifier, p.x(), p.y());
    }
    QRgb Color(double x, double y) const {
        const QPoint p = Pixel(x, y);
        return L.Bitmap.pixel(p.x(), p.y()) & 0xFFFFFFu;
    }
};

} // namespace

TEST_F(Lienzo, AnEmptyCircuitFitsTwentyUnitsIntoTheView) {
    L.Paint();
    EXPECT_EQ(std::tuple(L.Extension.X, L.Extension.Width), std::tuple(-10.0f, 20.0f));
    L.AjustarVista();
    EXPECT_DOUBLE_EQ(L.Zoom, 18.0);
}

// Moves do nothing before the first press; a drag snaps to half units and
// keeps the pointer's offset; a click may be refused; running, none selects.
TEST_F(Lienzo, TheMouse) {
    auto* f = Nuevo(T::Presion);
    L.ActualizarGeometria();
    const int x = L.OffsetX;
    L.Arrastrando = true;
    Mover(30, 12);
    Mover(50, 50);
    EXPECT_EQ(std::tuple(L.Resaltado, L.OffsetX), std::tuple(nullptr, x));
    L.Arrastrando = false;
    Pulsar(-300, -300, Qt::RightButton);
    Mover(30, 12);
    EXPECT_EQ(L.Resaltado, f);

    Pulsar(30, 12);
    ASSERT_EQ(L.Seleccionado, f);
    EXPECT_EQ(std::tuple(f->Marcado, L.Arrastre), std::tuple(true, arSeleccion));
    Mover(30.2, 12);
    EXPECT_EQ(f->X, 0.0);
    Mover(30.4, 12);
    EXPECT_EQ(std::tuple(f->X, f->Y), std::tuple(0.5, 0.0));
    const QPoint p = Pixel(30.4, 12);
    L.MouseUp(Qt::LeftButton, Qt::NoModifier, p.x(), p.y());
    Mover(30, 12);
    EXPECT_EQ(f->X, 0.5); // released: moves only highlight

    TAerComponente* preguntado = f;
    L.OnSeleccionar = [&](TAerComponente* e, bool& aceptar) {
        preguntado = e;
        aceptar = false;
    };
    Pulsar(-300, -300);
    EXPECT_EQ(preguntado, nullptr); // asked for empty ground too
    Pulsar(30, 12);
    EXPECT_EQ(std::tuple(preguntado, L.Seleccionado, f->Marcado), std::tuple(f, nullptr, false));
    L.OnSeleccionar = nullptr;
    L.Modo = mdEjecutar;
    Pulsar(30, 12);
    EXPECT_EQ(std::tuple(L.Seleccionado, f->Marcado), std::tuple(nullptr, false));
}

TEST_F(Lienzo, HitTestingOrder) {
    auto* abajo = Nuevo(T::Presion);
    auto* arriba = Nuevo(T::Escape, 20);
    auto* t = Nuevo(T::ConectorT, 0, -50);
    auto* o = Nuevo(T::ValvulaOr, 0, -100);
    auto* texto = TAerTexto::Crear(L);
    texto->X = 100;
    texto->Y = 100;
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({15, 12}), abajo);
    EXPECT_EQ(L.ElementoEn({35, 12}), arriba);         // the later of two overlapping
    EXPECT_EQ(L.ElementoEn({1, -49}), t);              // over its own point, a T stays the answer
    EXPECT_EQ(L.ElementoEn({1, -99}), o->Conexion(2)); // the last point containing it
    EXPECT_EQ(L.ElementoEn({100, 100}), texto);
    L.MostrarEstrellas = false;
    EXPECT_EQ(L.ElementoEn({100, 100}), nullptr);
    EXPECT_EQ(L.ElementoEn({-200, -200}), nullptr);
}

// A vertex answers only where it is drawn: while vertices are shown, in the
// modes that show them, at the place its tube's end has followed its element.
TEST_F(Lienzo, OnlyShownVerticesAreHitWhereTheyAreNow) {
    auto* fuente = Nuevo(T::Presion);
    auto* cil = Nuevo(T::CilindroSimple, 100, 100);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), cil->Conexion(0), {{50, 150}});
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({90, 95}), t->Ultimo);
    EXPECT_EQ(L.ElementoEn({50, 150}), t->Vertice(0));

    L.MostrarVertices = false;
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({90, 95}), cil->Conexion(0));
    EXPECT_EQ(L.ElementoEn({50, 150}), nullptr);
    cil->X = 200;
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({90, 95}), nullptr);

    L.MostrarVertices = true;
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({190, 95}), t->Ultimo);
    EXPECT_EQ(L.ElementoEn({90, 95}), nullptr);
    L.Modo = mdEnclavar; // vertices are drawn only up to tube drawing
    L.ActualizarGeometria();
    EXPECT_EQ(L.ElementoEn({50, 150}), nullptr);
}

TEST_F(Lienzo, HighlightIsDrawnSteelBlueUnderTheElement) {
    auto* f = Nuevo(T::Presion);
    L.Paint();
    EXPECT_EQ(Color(10, 5), 0xFFFFFFu);
    L.Resaltado = f;
    L.Paint();
    EXPECT_EQ(Color(10, 5), 0x4682B4u);
    f->Marcado = true; // a marked element is overlaid green instead
    L.Paint();
    EXPECT_NE(Color(10, 5), 0x4682B4u);
}

// Interlock lines and the roller's anchor mark, by mode and position.
TEST_F(Lienzo, InterlocksAndAnchorMarks) {
    auto* v = Valvula(TActuador::Rodillo);
    auto* c = Nuevo(T::CilindroDoble, 100, 50);
    L.SetZoom(2);
    v->X = -100;
    v->Y = 50;
    v->SetCilindro(c);
    std::string visibles;
    for (std::uint8_t modo :
         {mdEdicion, mdSeleccion, mdEnclavar, mdTubo, mdVerificar, mdEjecutar}) {
        L.Modo = modo;
        L.Paint();
        visibles += Color(0, 50) != 0xFFFFFFu ? '1' : '0';
    }
    EXPECT_EQ(visibles, "111000");

    // The anchor shows only beyond 0.94 of the stroke, not at 0.94 itself.
    TAerComponente* ancla = nullptr;
    for (int i = 0; i < v->Elementos.Count(); ++i)
        if (v->Elemento(i)->GetTipo() == T::ActuadorAnclaje)
            ancla = v->Elemento(i);
    ASSERT_NE(ancla, nullptr);
    for (auto [posicion, vista] : {std::pair{0.94, false}, {0.95, true}, {0.0, false}}) {
        v->SetParametro(posicion);
        L.Paint();
        EXPECT_EQ(!ancla->Region.Vacia(), vista) << posicion;
    }
}

// A straight tube along y = -15 between a source and a cylinder: black while
// editing, coloured by its pressure while running, dashed when it carries a
// pilot signal.
TEST_F(Lienzo, TubesByPressureAndControlTubesDashed) {
    auto* f = Nuevo(T::Presion, -30, -20);
    auto* c = Nuevo(T::CilindroSimple, 40, -10);
    L.ActualizarGeometria();
    auto* t = Unir(f->Conexion(0), c->Conexion(0));
    L.MostrarVertices = false;
    auto tinta = [this] {
        int n = 0;
        for (int x = -50; x < 50; ++x) // a pixel each
            n += Color(x / 10.0, -15) != 0xFFFFFFu;
        return n;
    };
    const std::pair<int, QRgb> colores[] = {
        {0, 0x000000u}, {1, 0xFF0000u}, {2, 0x0000FFu}, {3, 0x008000u}};
    for (auto [estado, color] : colores) {
        t->EstadoPresion = estado;
        for (std::uint8_t modo : {mdEjecutar, mdPausa, mdParado}) {
            L.Modo = modo;
            L.Paint();
            EXPECT_EQ(Color(0, -15), color) << estado << " " << int(modo);
        }
        L.Modo = mdEdicion;
        L.Paint();
        EXPECT_EQ(Color(0, -15), 0x000000u) << estado;
    }
    L.Modo = mdEjecutar;
    L.MostrarPresiones = false;
    L.Paint();
    EXPECT_EQ(Color(0, -15), 0x000000u);

    // Dashed only while control tubes are shown.
    L.Modo = mdEdicion;
    for (auto [control, mostrar] : {std::pair(0, true), {1, true}, {1, false}}) {
        t->TuboControl = control;
        L.MostrarTubosControl = mostrar;
        L.Paint();
        const int n = tinta();
        EXPECT_TRUE(control && mostrar ? n > 40 && n < 90 : n == 100) << n;
    }
}

// A text begins at its anchor and is centred on it vertically.
TEST_F(Lienzo, TextsAreCentredOnTheirAnchor) {
    auto* texto = TAerTexto::Crear(L);
    L.MostrarEstrellas = false; // the text alone
    L.Paint();
    double arriba = -100, abajo = 100, izquierda = 100;
    for (double y = -5; y <= 5; y += 0.1)
        for (double x = -5; x <= 15; x += 0.1)
            if (Color(x, y) != 0xFFFFFFu) {
                arriba = std::max(arriba, y);
                abajo = std::min(abajo, y);
                izquierda = std::min(izquierda, x);
            }
    // Capitals rise above the anchor about as far as the baseline lies below.
    EXPECT_GT(arriba, 0.25 * texto->GetTamano());
    EXPECT_LT(abajo, -0.25 * texto->GetTamano());
    EXPECT_NEAR(izquierda, 0, 0.5);

    // Bold letters are wider: the text's box is measured again, not clipped
    // to the one measured before.
    texto->Cadena = "WWWW";
    const auto derecha = [&] {
        L.Paint();
        double d = -100;
        for (double y = -3; y <= 3; y += 0.1)
            for (double x = 0; x <= 30; x += 0.1)
                if (Color(x, y) != 0xFFFFFFu)
                    d = std::max(d, x);
        return d;
    };
    const double normal = derecha();
    texto->SetEstilo(etNegrita);
    EXPECT_GT(derecha(), normal + 0.3);
}
