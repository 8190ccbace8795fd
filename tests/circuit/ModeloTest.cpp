#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ventix;
using T = TTipoComponente;

namespace {

// A canvas with a catalogue that gives every type its connection points but
// no drawings, so structure and geometry are tested apart from the symbols.
class Modelo : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        L.Libreria.Cargar(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"));
    }
    std::vector<T> TiposDe(const TAerComponente& c) {
        std::vector<T> r;
        for (int i = 0; i < c.Elementos.Count(); ++i)
            r.push_back(c.Elemento(i)->GetTipo());
        return r;
    }
    TAerTubo* Unir(TAerConexion* a, TAerConexion* b, std::vector<TCADCoordenada> medio = {}) {
        auto* t = TAerTubo::Crear(L);
        t->SetInicio(a);
        for (const auto& p : medio)
            t->AnadirVertice(p);
        t->SetFin(b);
        t->AnadirVertice({b->XMundo, b->YMundo});
        return t;
    }
    TAerPaintBox L;
};

} // namespace

TEST_F(Modelo, CatalogueGivesPointsInOrderWithTheirRoles) {
    auto* v = TAerComponente::Crear(L, T::Valvula32NC);
    ASSERT_EQ(v->NumConexiones(), 3);
    EXPECT_TRUE(v->Conexion(0)->Entrada);
    EXPECT_FALSE(v->Conexion(0)->Salida);
    EXPECT_TRUE(v->Conexion(2)->Salida);
    EXPECT_EQ(v->Conexion(1)->X, 3.0);
    EXPECT_EQ(L.RefConexiones.Count(), 3);
    auto* r = TAerComponente::Crear(L, T::Regulador1);
    EXPECT_TRUE(r->Conexion(0)->Entrada && r->Conexion(0)->Salida);
    EXPECT_EQ(TAerComponente::Crear(L, T::ValvulaAnd)->GetParametro(), 0.5);
}

TEST_F(Modelo, ValveSubElementsFollowTheActuator) {
    auto* piloto = TAerValvula::Crear(L, true, TActuador::Pilotado, T::Valvula32NC);
    EXPECT_EQ(TiposDe(*piloto),
              (std::vector<T>{T::Conexion, T::Conexion, T::Conexion, T::ActuadorPilotadoIzquierdo,
                              T::ConexionPilotada, T::ActuadorMuelle}));
    EXPECT_EQ(piloto->Elemento(3)->Elementos.Count(), 0); // its pilot point moved up
    EXPECT_EQ(piloto->Elemento(4)->GetPadre(), piloto);

    auto* biestable = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
    EXPECT_EQ(TiposDe(*biestable).back(), T::ConexionPilotada);
    EXPECT_EQ(biestable->NumConexiones(), 7);

    auto* rodillo = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
    EXPECT_EQ(TiposDe(*rodillo),
              (std::vector<T>{T::Conexion, T::Conexion, T::Conexion, T::ActuadorRodillo,
                              T::ActuadorAnclaje, T::ActuadorMuelle}));
    EXPECT_TRUE(rodillo->GetRodillo());
    EXPECT_EQ(L.RefActuadores.Count(), 0);

    auto* rele = TAerValvula::Crear(L, false, TActuador::Rele, T::Valvula52);
    EXPECT_EQ(L.RefActuadores.Count(), 2);
    EXPECT_EQ(TAerPaintBox::Referido(L.RefActuadores, 1)->GetTipo(), T::ActuadorReleDerecho);
    TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula22NC);
    EXPECT_EQ(L.RefActuadores.Count(), 3);

    delete rele;
    EXPECT_EQ(L.RefActuadores.Count(), 1);
}

TEST_F(Modelo, PushButtonAndRollerValvesAlwaysReturnBySpring) {
    for (auto a : {TActuador::Seta, TActuador::Rodillo, TActuador::Escamoteable}) {
        auto* v = TAerValvula::Crear(L, false, a, T::Valvula32NA);
        EXPECT_TRUE(v->GetMonoestable());
        EXPECT_EQ(TiposDe(*v).back(), T::ActuadorMuelle);
    }
}

TEST_F(Modelo, CreatingAndFreeingAValveKeepsReferenceListsExact) {
    const int antes = L.RefConexiones.Count();
    auto* v = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
    EXPECT_EQ(L.Componentes.Count(), 1);
    EXPECT_EQ(L.RefConexiones.Count(), antes + 7);
    delete v;
    EXPECT_EQ(L.RefConexiones.Count(), antes);
    EXPECT_EQ(L.Componentes.Count(), 0);
}

TEST_F(Modelo, SetParametroReachesSubElementsOnlyOnChange) {
    auto* v = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
    v->Elemento(3)->SetParametro(0.3);
    v->SetParametro(0.0); // unchanged: the actuator keeps its own value
    EXPECT_EQ(v->Elemento(3)->GetParametro(), 0.3);
    v->SetParametro(1.0);
    EXPECT_EQ(v->Elemento(3)->GetParametro(), 1.0);
    EXPECT_EQ(v->Elemento(4)->GetParametro(), 1.0);
    EXPECT_EQ(v->Individuo->Estado, 1.0);
}

TEST_F(Modelo, PlacementRotatesScalesAndMirrorsOnlyWhatMayBeMirrored) {
    auto* c = TAerComponente::Crear(L, T::CilindroSimple);
    c->X = 20;
    c->Y = 30;
    c->Alfa = 90;
    EXPECT_EQ(c->Colocacion().map(QPointF(1, 0)), QPointF(20, 31));
    c->Simetrico = true;
    const QPointF p = c->Colocacion().map(QPointF(1, 0));
    EXPECT_NEAR(p.x(), 20, 1e-9);
    EXPECT_NEAR(p.y(), 29, 1e-9);
    L.ActualizarGeometria();
    // the chamber point (-10, -5) mirrored to (10, -5), turned to (5, 10)
    EXPECT_NEAR(c->Conexion(0)->XMundo, 25, 1e-9);
    EXPECT_NEAR(c->Conexion(0)->YMundo, 40, 1e-9);

    auto* fuente = TAerComponente::Crear(L, T::Presion);
    fuente->Simetrico = true;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 0)), QPointF(1, 0));

    fuente->EscalaX = fuente->EscalaY = 0;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 2)), QPointF(1, 2));
    fuente->EscalaY = 1;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 2)), QPointF(0, 2));
}

TEST_F(Modelo, RegulatorTakesItsDirectionFromItsFirstTube) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* reg = TAerComponente::Crear(L, T::Regulador1);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), reg->Conexion(0));
    EXPECT_TRUE(reg->Conexion(0)->Entrada);
    EXPECT_FALSE(reg->Conexion(0)->Salida);
    EXPECT_FALSE(reg->Conexion(1)->Entrada);
    EXPECT_TRUE(reg->Conexion(1)->Salida);
    delete t;
    EXPECT_TRUE(reg->Conexion(1)->Entrada && reg->Conexion(1)->Salida);
    EXPECT_TRUE(reg->Conexion(0)->Entrada && reg->Conexion(0)->Salida);
    EXPECT_EQ(fuente->Conexion(0)->Tubo, nullptr);
}

TEST_F(Modelo, TConnectorWithTwoOutgoingTubesTakesAirAtTheThird) {
    auto* t = TAerComponente::Crear(L, T::ConectorT);
    auto* a = TAerComponente::Crear(L, T::ValvulaOr);
    L.ActualizarGeometria();
    Unir(t->Conexion(0), a->Conexion(0));
    // one tube leaving: the other two may still take air in or give it out
    EXPECT_TRUE(t->Conexion(1)->Entrada && t->Conexion(1)->Salida);
    Unir(t->Conexion(1), a->Conexion(1));
    EXPECT_TRUE(t->Conexion(2)->Entrada);
    EXPECT_FALSE(t->Conexion(2)->Salida);
}

TEST_F(Modelo, OpenPortsShowAnExhaustOnValvesAndCylindersOnly) {
    auto* v = TAerComponente::Crear(L, T::Valvula32NC);
    auto* y = TAerComponente::Crear(L, T::ValvulaAnd);
    EXPECT_TRUE(v->Conexion(1)->MostrarEscape());
    EXPECT_FALSE(v->Conexion(2)->MostrarEscape());
    EXPECT_FALSE(y->Conexion(0)->MostrarEscape());
    EXPECT_EQ(v->NumConectadas(), 2); // both inputs count as open ports
}

TEST_F(Modelo, LineShapesAndTheirCornerPoints) {
    using V = std::vector<TCADCoordenada>;
    auto xy = [](const V& v) {
        std::vector<std::pair<double, double>> r;
        for (auto p : v)
            r.push_back({p.X, p.Y});
        return r;
    };
    using P = std::vector<std::pair<double, double>>;
    EXPECT_EQ(xy(TAerTubo::Trazado({0, 0}, {10, 4}, 0)), (P{{0, 0}, {5, 0}, {5, 4}, {10, 4}}));
    EXPECT_EQ(xy(TAerTubo::Trazado({0, 0}, {10, 4}, 1)), (P{{0, 0}, {10, 0}, {10, 4}}));
    EXPECT_EQ(xy(TAerTubo::Trazado({0, 0}, {10, 4}, 2)), (P{{0, 0}, {0, 2}, {10, 2}, {10, 4}}));
    EXPECT_EQ(xy(TAerTubo::Trazado({0, 0}, {10, 4}, 3)), (P{{0, 0}, {0, 4}, {10, 4}}));
    EXPECT_EQ(xy(TAerTubo::Trazado({0, 0}, {10, 4}, 4)), (P{{0, 0}, {10, 4}}));
    EXPECT_TRUE(TAerTubo::Trazado({0, 0}, {10, 4}, 5).empty());

    auto* t = TAerTubo::Crear(L);
    t->SetLinea(7);
    EXPECT_EQ(t->GetLinea(), 2);
    t->SetLinea(0);
    auto* v = t->AnadirVertice({1, 1});
    EXPECT_EQ(v->GetLinea(), 0);
    v->SetLinea(7);
    EXPECT_EQ(v->GetLinea(), 0);
}

TEST_F(Modelo, TubesFollowTheirEndsButNotTheirMiddleVertices) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* cil = TAerComponente::Crear(L, T::CilindroSimple);
    cil->X = 40;
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), cil->Conexion(0), {{0, 20}});
    ASSERT_EQ(t->Vertices.Count(), 2);
    EXPECT_EQ(L.RefVertices.Count(), 2);
    cil->X = 50;
    cil->Y = 10;
    L.ActualizarGeometria();
    EXPECT_EQ(t->Ultimo->X, 40.0);
    EXPECT_EQ(t->Ultimo->Y, 5.0);
    EXPECT_EQ(t->Vertice(0)->X, 0.0);
    EXPECT_EQ(t->Vertice(0)->Y, 20.0);
}

TEST_F(Modelo, TextsFollowTheirElement) {
    auto* v = TAerComponente::Crear(L, T::Valvula22NC);
    v->X = 10;
    v->Y = 10;
    auto* texto = TAerTexto::Crear(L);
    texto->X = 12;
    texto->Y = 15;
    texto->SetAsociado(v);
    v->X = 20;
    v->Y = 20;
    L.ActualizarGeometria();
    EXPECT_EQ(texto->X, 22.0);
    EXPECT_EQ(texto->Y, 25.0);
}

TEST_F(Modelo, TextFontIsRebuiltOnlyOnChange) {
    auto* texto = TAerTexto::Crear(L);
    const int antes = texto->GetConstrucciones();
    texto->SetTamano(4.0);
    EXPECT_EQ(texto->GetConstrucciones(), antes);
    texto->SetEstilo(etNegrita | etItalica);
    EXPECT_TRUE(texto->GetFuente().bold());
    EXPECT_TRUE(texto->GetFuente().italic());
    EXPECT_FALSE(texto->GetFuente().underline());
    EXPECT_EQ(texto->GetFamilia(), "Century Gothic");
}

TEST_F(Modelo, DeletingAnElementFreesItsTubesAndTextsAndEveryReference) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* v = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), v->Conexion(0));
    auto* texto = TAerTexto::Crear(L);
    texto->SetAsociado(v);
    L.Seleccionado = v;
    L.Resaltado = v;
    L.BorrarSeleccion();
    EXPECT_EQ(L.Tubos.Count(), 0);
    EXPECT_EQ(L.Textos.Count(), 0);
    EXPECT_EQ(L.RefVertices.Count(), 0);
    EXPECT_EQ(L.RefActuadores.Count(), 0);
    EXPECT_EQ(L.RefConexiones.Count(), 1);
    EXPECT_EQ(L.Seleccionado, nullptr);
    EXPECT_EQ(L.Resaltado, nullptr);
    EXPECT_EQ(fuente->Conexion(0)->Tubo, nullptr);
    (void)t;
}

TEST_F(Modelo, DeletingAVertexDeletesItsTube) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* cil = TAerComponente::Crear(L, T::CilindroSimple);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), cil->Conexion(0), {{0, 20}, {5, 20}});
    L.Seleccionado = t->Vertice(1);
    L.BorrarSeleccion();
    EXPECT_EQ(L.Tubos.Count(), 0);
    EXPECT_EQ(L.RefVertices.Count(), 0);
    EXPECT_EQ(fuente->Conexion(0)->Tubo, nullptr);
    EXPECT_EQ(cil->Conexion(0)->Tubo, nullptr);
    EXPECT_TRUE(cil->Conexion(0)->Entrada); // keeps the role the tube gave it
}

TEST_F(Modelo, DeletingACylinderUnlocksItsValves) {
    auto* cil = TAerComponente::Crear(L, T::CilindroDoble);
    auto* a = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
    auto* b = TAerValvula::Crear(L, true, TActuador::Escamoteable, T::Valvula32NC);
    a->SetCilindro(cil);
    b->SetCilindro(cil);
    a->SetCilindro(b); // not a cylinder: unlocks
    EXPECT_EQ(a->GetCilindro(), nullptr);
    a->SetCilindro(cil);
    delete cil;
    EXPECT_EQ(a->GetCilindro(), nullptr);
    EXPECT_EQ(b->GetCilindro(), nullptr);
}

TEST_F(Modelo, DeletingWhileATubeIsDrawnDiscardsOnlyThatTube) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* t = TAerTubo::Crear(L);
    t->SetInicio(fuente->Conexion(0));
    t->AnadirVertice({3, 3});
    L.TuboNuevo = t;
    L.Seleccionado = fuente;
    L.BorrarSeleccion();
    EXPECT_EQ(L.Tubos.Count(), 0);
    EXPECT_EQ(L.RefVertices.Count(), 0);
    EXPECT_EQ(L.Componentes.Count(), 1);
    EXPECT_EQ(L.TuboNuevo, nullptr);
    EXPECT_EQ(fuente->Conexion(0)->Tubo, nullptr);
}

TEST_F(Modelo, NamesAreUniquePerList) {
    auto* a = TAerComponente::Crear(L, T::Presion);
    auto* b = TAerComponente::Crear(L, T::Escape);
    a->SetNombre("Fuente");
    EXPECT_THROW(b->SetNombre("FUENTE"), EColeccionError);
    auto* texto = TAerTexto::Crear(L);
    EXPECT_NO_THROW(texto->SetNombre("Fuente"));
}

TEST_F(Modelo, ControlTubesAreThoseCarryingPilotSignals) {
    // source -> push-button 3/2 -> pilot of a 5/2; source -> 5/2 -> cylinder
    auto* f1 = TAerComponente::Crear(L, T::Presion);
    auto* mando = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
    auto* v52 = TAerValvula::Crear(L, true, TActuador::Pilotado, T::Valvula52);
    auto* cil = TAerComponente::Crear(L, T::CilindroDoble);
    L.ActualizarGeometria();
    auto* alimentacion = Unir(f1->Conexion(0), mando->Conexion(0));
    auto* senal = Unir(mando->Conexion(2), v52->Conexion(5));
    auto* trabajo = Unir(v52->Conexion(3), cil->Conexion(0));
    EXPECT_EQ(senal->TuboControl, 1);
    EXPECT_EQ(alimentacion->TuboControl, 0); // starts at a source
    EXPECT_EQ(trabajo->TuboControl, 0);
}

TEST_F(Modelo, TwoTubesOnOnePointGoWithIt) {
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    auto* a = TAerComponente::Crear(L, T::CilindroSimple);
    auto* b = TAerComponente::Crear(L, T::CilindroSimple);
    L.ActualizarGeometria();
    Unir(fuente->Conexion(0), a->Conexion(0));
    Unir(fuente->Conexion(0), b->Conexion(0)); // takes the point's place from the first
    delete fuente;
    EXPECT_EQ(L.Tubos.Count(), 0);
    EXPECT_EQ(a->Conexion(0)->Tubo, nullptr);
    EXPECT_EQ(b->Conexion(0)->Tubo, nullptr);
}
