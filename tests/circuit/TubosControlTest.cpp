// Control-tube marks follow every change of the tubes (finished, deleted,
// moved to another point, a whole file read) and cope with pilot lines of
// any length; the name index of a collection follows renames and removals.

#include "ConCatalogo.h"

#include <functional>
#include <pthread.h>

using namespace ventix;

namespace {

class TubosControl : public TConCatalogo {
protected:
    TubosControl() : TConCatalogo(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt") {}
    // A tube joined without recomputing anything on the way, as a long
    // circuit is built before one recomputation.
    TAerTubo* Enlazar(TAerConexion* A, TAerConexion* B) {
        auto* t = TAerTubo::Crear(L);
        t->SetInicio(A);
        t->AnadirVertice({0, 0});
        t->SetFin(B);
        return t;
    }
};

// Runs F on a thread with a stack of the given size; false if it could not start.
template <class F> bool ConPila(std::size_t Bytes, F Funcion) {
    pthread_attr_t a;
    pthread_attr_init(&a);
    pthread_attr_setstacksize(&a, Bytes);
    pthread_t hilo;
    auto cuerpo = [](void* f) -> void* {
        (*static_cast<F*>(f))();
        return nullptr;
    };
    const bool ok = pthread_create(&hilo, &a, cuerpo, &Funcion) == 0;
    pthread_attr_destroy(&a);
    if (ok)
        pthread_join(hilo, nullptr);
    return ok;
}

} // namespace

TEST_F(TubosControl, MarksFollowDeletedAndReplacedTubes) {
    auto* fuente = Nuevo(T::Presion);
    auto* mando = Valvula(TActuador::Seta);
    auto* reg = Nuevo(T::Regulador1);
    auto* v = Valvula(TActuador::Pilotado);
    auto* otra = Valvula(TActuador::Pilotado);
    auto* cil = Nuevo(T::CilindroSimple);
    auto* piloto = v->Conexion(3);
    ASSERT_TRUE(piloto && piloto->EsPilotada());
    Unir(fuente->Conexion(0), mando->Conexion(0));
    auto* senal = Unir(mando->Conexion(2), reg->Conexion(0));
    auto* alPiloto = Unir(reg->Conexion(1), piloto);
    auto* trabajo = Unir(v->Conexion(2), cil->Conexion(0));
    EXPECT_EQ(std::tuple(senal->TuboControl, alPiloto->TuboControl, trabajo->TuboControl),
              std::tuple(1, 1, 0));

    // The pilot tube goes: the line before it no longer carries a signal.
    delete alPiloto;
    EXPECT_EQ(senal->TuboControl, 0);
    // Back again; then another tube takes the pilot point from it.
    alPiloto = Unir(reg->Conexion(1), piloto);
    EXPECT_EQ(senal->TuboControl, 1);
    auto* otro = TAerTubo::Crear(L);
    otro->SetInicio(otra->Conexion(2));
    otro->SetFin(piloto);
    EXPECT_EQ(std::tuple(otro->TuboControl, senal->TuboControl), std::tuple(1, 0));
    delete otro;
    delete alPiloto;
    alPiloto = Unir(reg->Conexion(1), piloto);
    EXPECT_EQ(senal->TuboControl, 1);
    // The piloted valve replaced by a hand-worked one, as the editor does:
    // the old one goes with its tubes.
    const double x = v->X;
    delete v;
    Valvula(TActuador::Seta)->X = x;
    EXPECT_EQ(senal->TuboControl, 0);
    Unir(reg->Conexion(1), otra->Conexion(3));
    EXPECT_EQ(senal->TuboControl, 1);

    // Deleting the element the line starts at takes its tubes and the marks.
    delete reg;
    EXPECT_EQ(L.Tubos.Count(), 1);
    for (int i = 0; i < L.Tubos.Count(); ++i)
        EXPECT_EQ(L.Tubos.ItemComo<TAerTubo>(i)->TuboControl, 0) << i;
}

TEST_F(TubosControl, ATubeMovedToAnotherPointLeavesTheFirstFree) {
    auto* a = Nuevo(T::CilindroDoble);
    auto* b = Nuevo(T::CilindroDoble);
    auto* c = Nuevo(T::CilindroDoble);
    auto* t = Unir(a->Conexion(0), b->Conexion(0));
    t->SetFin(c->Conexion(0));
    EXPECT_EQ(b->Conexion(0)->Tubo, nullptr);
    EXPECT_TRUE(b->Conexion(0)->MostrarEscape());
    EXPECT_EQ(c->Conexion(0)->Tubo, t);
    delete t;
    delete b; // its point must not name the freed tube
    EXPECT_EQ(L.Tubos.Count(), 0);
}

TEST_F(TubosControl, LongPilotLinesNeedNoDeepStack) {
    // A hand valve, 5,000 regulators in a row, a pilot valve at the end.
    auto* mando = Valvula(TActuador::Seta);
    TAerConexion* salida = mando->Conexion(2);
    for (int i = 0; i < 5000; ++i) {
        auto* r = Nuevo(T::Regulador1);
        Enlazar(salida, r->Conexion(0));
        salida = r->Conexion(1);
    }
    Enlazar(salida, Valvula(TActuador::Pilotado)->Conexion(3));
    ASSERT_TRUE(ConPila(256 * 1024, [this] { L.MarcarTubosControl(); }));
    int marcados = 0;
    for (int i = 0; i < L.Tubos.Count(); ++i)
        marcados += L.Tubos.ItemComo<TAerTubo>(i)->TuboControl;
    EXPECT_EQ(marcados, 5001);
}

// Names are unique within each list: a text may share a component's.
TEST_F(TubosControl, NamesAreFoundAfterRenamesAndRemovals) {
    auto* a = Nuevo(T::Presion);
    auto* b = Nuevo(T::Escape);
    a->SetNombre("Válvula");
    b->SetNombre("b");
    EXPECT_EQ(L.Componentes.Buscar("VÁLVULA"), a);
    a->SetNombre("Otra");
    EXPECT_EQ(L.Componentes.Buscar("válvula"), nullptr);
    EXPECT_EQ(L.Componentes.Buscar("otra"), a);
    b->SetNombre("Válvula");
    EXPECT_EQ(L.Componentes.Buscar("Válvula"), b);
    EXPECT_THROW(a->SetNombre("VÁLVULA"), EColeccionError);
    EXPECT_EQ(a->GetNombre(), "Otra");
    EXPECT_NO_THROW(TAerTexto::Crear(L)->SetNombre("Otra"));
    delete b;
    EXPECT_EQ(L.Componentes.Buscar("Válvula"), nullptr);
    a->SetNombre("");
    EXPECT_EQ(L.Componentes.Buscar("Otra"), nullptr);
    // A named item that leaves takes its name along; one that comes brings it.
    auto libre = a->Extraer();
    libre->SetNombre("Suelto");
    EXPECT_EQ(L.Componentes.Buscar("Suelto"), nullptr);
    L.Componentes.Agregar(std::move(libre));
    EXPECT_EQ(L.Componentes.Buscar("suelto"), a);
    EXPECT_EQ(L.Componentes.Item(L.Componentes.Count() - 1), a);
}

namespace {

class FueraDeVista : public TConCatalogo {
protected:
    FueraDeVista() : TConCatalogo(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt") {}
    int Pintados() const {
        int n = 0;
        for (int y = 0; y < L.Bitmap.height(); ++y)
            for (int x = 0; x < L.Bitmap.width(); ++x)
                n += L.Bitmap.pixel(x, y) != 0xFFFFFFFFu;
        return n;
    }
};

} // namespace

TEST_F(FueraDeVista, ElementsOutsideTheViewKeepTheirGeometryAndShowWhenReached) {
    auto* cerca = Nuevo(T::CilindroDoble);
    auto* lejos = Nuevo(T::CilindroDoble, 1000);
    L.SetCliente(200, 200);
    L.Activar();
    L.SetZoom(4);
    L.Centrar(0, 0);
    L.Paint();
    ASSERT_FALSE(lejos->Region.Vacia());
    const QRectF antes = lejos->Region.Limites();
    const double puntoAntes = lejos->Conexion(0)->XMundo;

    // Moved while out of sight: posed anew, so it is hit where it is now.
    lejos->X = 1010;
    L.Paint();
    EXPECT_NEAR(lejos->Region.Limites().left(), antes.left() + 10, 1e-4);
    EXPECT_NEAR(lejos->Conexion(0)->XMundo, puntoAntes + 10, 1e-9);
    const QPointF centro = lejos->Region.Limites().center();
    EXPECT_EQ(L.ElementoEn({centro.x(), centro.y()}), lejos);
    // Its state changed out of sight: the same.
    lejos->SetParametro(1);
    L.Paint();
    EXPECT_GT(lejos->Region.Limites().width(), antes.width());
    // A tube out of sight follows its end when the element there moves.
    auto* otro = Nuevo(T::CilindroDoble, 1000, -100);
    L.MostrarVertices = true;
    L.Paint();
    auto* tubo = Unir(otro->Conexion(0), lejos->Conexion(1));
    L.Paint();
    L.Paint();
    lejos->Y = 20;
    L.Paint();
    EXPECT_DOUBLE_EQ(tubo->Ultimo->Y, lejos->Conexion(1)->YMundo);
    EXPECT_EQ(L.ElementoEn({tubo->Ultimo->X, tubo->Ultimo->Y}), tubo->Ultimo);
    delete tubo;
    delete otro;
    L.MostrarVertices = false;

    // What changes a pose without changing the placement, out of sight: a
    // sub-element's own state, a tube taken to or from a point (an open
    // port shows an exhaust), the mode of drawing tubes (exhausts hide).
    // After each repaint the geometry is what posing everything gives.
    auto* valvula = Valvula(TActuador::Seta);
    valvula->X = 2000;
    valvula->Alfa = 90;
    L.Paint();
    // What it painted, as far as the view is concerned: its own area, its
    // sub-elements' and the exhaust mark of its open port.
    ASSERT_TRUE(valvula->Conexion(1)->SimboloEscape && valvula->Posado);
    QRectF pintado = valvula->Region.Limites();
    for (int j = 0; j < valvula->Elementos.Count(); ++j)
        pintado |= valvula->Elemento(j)->Region.Limites();
    pintado |= valvula->Colocacion().mapRect(valvula->Conexion(1)->SimboloEscape->Region.Limites());
    EXPECT_EQ(valvula->Posado->Alcance, pintado);
    const auto vigente = [&] {
        std::vector<QRectF> antes;
        for (int j = 0; j < valvula->Elementos.Count(); ++j)
            antes.push_back(valvula->Elemento(j)->Region.Limites());
        const TCADRectF e = L.Extension;
        L.ActualizarGeometria();
        for (int j = 0; j < valvula->Elementos.Count(); ++j)
            if (antes[j] != valvula->Elemento(j)->Region.Limites())
                return false;
        return e.X == L.Extension.X && e.Width == L.Extension.Width;
    };
    for (int j = 0; j < valvula->Elementos.Count(); ++j)
        if (!valvula->Elemento(j)->EsConexion())
            valvula->Elemento(j)->SetParametro(1);
    TAerTubo* alEscape = nullptr;
    const std::pair<const char*, std::function<void()>> cambios[] = {
        {"estados", [] {}},
        {"tubo", [&] { alEscape = Unir(valvula->Conexion(2), lejos->Conexion(0)); }},
        {"sin tubo", [&] { delete alEscape; }},
        {"modo tubo", [&] { L.Modo = mdTubo; }},
        {"modo edición", [&] { L.Modo = mdEdicion; }}};
    for (const auto& [que, cambiar] : cambios) {
        cambiar();
        L.Paint();
        EXPECT_TRUE(vigente()) << que;
    }
    delete valvula;

    // The view reaches it: painted as the one that was always in sight.
    const int pintadosCerca = Pintados();
    EXPECT_GT(pintadosCerca, 0);
    cerca->SetParametro(1);
    L.Paint();
    const int cercaExtendido = Pintados();
    L.Centrar(1010, 20);
    L.Paint();
    EXPECT_EQ(Pintados(), cercaExtendido);
}
