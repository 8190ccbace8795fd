#include "ConCatalogo.h"
#include "foundation/Numeros.h"

#include <random>

using namespace ventix;

namespace {

// A canvas with a catalogue that gives every type its connection points but
// no drawings, so structure and geometry are tested apart from the symbols.
class Modelo : public TConCatalogo {
protected:
    Modelo() : TConCatalogo(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt") {}
    std::vector<T> TiposDe(const TAerComponente& c) {
        std::vector<T> r;
        for (int i = 0; i < c.Elementos.Count(); ++i)
            r.push_back(c.Elemento(i)->GetTipo());
        return r;
    }
    // The roles of an element's points: "E" a tube may end there, "S" start
    // there, "ES" both.
    std::string Sentidos(const TAerComponente& c) {
        std::string r;
        for (int i = 0; i < c.NumConexiones(); ++i)
            r += std::string(i ? " " : "") + (c.Conexion(i)->Entrada ? "E" : "") +
                 (c.Conexion(i)->Salida ? "S" : "");
        return r;
    }
};

} // namespace

TEST_F(Modelo, CatalogueGivesPointsInOrderWithTheirRoles) {
    auto* v = Nuevo(T::Valvula32NC);
    EXPECT_EQ(Sentidos(*v), "E E S");
    EXPECT_EQ(v->Conexion(1)->X, 3.0);
    EXPECT_EQ(L.RefConexiones.Count(), 3);
    EXPECT_EQ(Sentidos(*Nuevo(T::Regulador1)), "ES ES");
    EXPECT_EQ(Nuevo(T::ValvulaAnd)->GetParametro(), 0.5);
}

TEST_F(Modelo, ValveSubElementsFollowTheActuator) {
    auto* piloto = Valvula(TActuador::Pilotado);
    EXPECT_EQ(TiposDe(*piloto),
              (std::vector<T>{T::Conexion, T::Conexion, T::Conexion, T::ActuadorPilotadoIzquierdo,
                              T::ConexionPilotada, T::ActuadorMuelle}));
    EXPECT_EQ(piloto->Elemento(3)->Elementos.Count(), 0); // its pilot point moved up
    EXPECT_EQ(piloto->Elemento(4)->GetPadre(), piloto);

    auto* biestable = Valvula(TActuador::Pilotado, T::Valvula52, false);
    EXPECT_EQ(TiposDe(*biestable).back(), T::ConexionPilotada);
    EXPECT_EQ(biestable->NumConexiones(), 7);

    auto* rodillo = Valvula(TActuador::Rodillo);
    EXPECT_EQ(TiposDe(*rodillo),
              (std::vector<T>{T::Conexion, T::Conexion, T::Conexion, T::ActuadorRodillo,
                              T::ActuadorAnclaje, T::ActuadorMuelle}));
    EXPECT_TRUE(rodillo->GetRodillo());
    EXPECT_EQ(L.RefActuadores.Count(), 0);

    const int componentes = L.Componentes.Count(), conexiones = L.RefConexiones.Count();
    auto* rele = Valvula(TActuador::Rele, T::Valvula52, false);
    EXPECT_EQ(L.RefActuadores.Count(), 2);
    EXPECT_EQ(TAerPaintBox::Referido(L.RefActuadores, 1)->GetTipo(), T::ActuadorReleDerecho);
    Valvula(TActuador::Seta, T::Valvula22NC);
    EXPECT_EQ(L.RefActuadores.Count(), 3);
    delete rele; // freeing valves keeps the reference lists exact
    delete biestable;
    EXPECT_EQ(std::tuple(L.RefActuadores.Count(), L.RefConexiones.Count(), L.Componentes.Count()),
              std::tuple(1, conexiones + 2 - 7, componentes));
    // Push-button and roller valves always return by spring.
    for (auto a : {TActuador::Seta, TActuador::Rodillo, TActuador::Escamoteable}) {
        auto* v = Valvula(a, T::Valvula32NA, false);
        EXPECT_TRUE(v->GetMonoestable());
        EXPECT_EQ(TiposDe(*v).back(), T::ActuadorMuelle);
    }
}

TEST_F(Modelo, SetParametroReachesSubElementsOnlyOnChange) {
    auto* v = Valvula(TActuador::Rodillo);
    v->Elemento(3)->SetParametro(0.3);
    v->SetParametro(0.0); // unchanged: the actuator keeps its own value
    EXPECT_EQ(v->Elemento(3)->GetParametro(), 0.3);
    v->SetParametro(1.0);
    EXPECT_EQ(std::tuple(v->Elemento(3)->GetParametro(), v->Elemento(4)->GetParametro()),
              std::tuple(1.0, 1.0));
    // The symbol instances take the states when they are posed, each its own
    // element's.
    L.ActualizarGeometria();
    EXPECT_EQ(v->Individuo->Estado, 1.0);
    v->Elemento(3)->SetParametro(0.3);
    L.ActualizarGeometria();
    EXPECT_EQ(std::tuple(v->Elemento(3)->Individuo->Estado, v->Elemento(4)->Individuo->Estado),
              std::tuple(0.3, 1.0));
}

TEST_F(Modelo, PlacementRotatesScalesAndMirrorsOnlyWhatMayBeMirrored) {
    auto* c = Nuevo(T::CilindroSimple, 20, 30);
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

    auto* fuente = Nuevo(T::Presion);
    fuente->Simetrico = true;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 0)), QPointF(1, 0));
    fuente->EscalaX = fuente->EscalaY = 0;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 2)), QPointF(1, 2));
    fuente->EscalaY = 1;
    EXPECT_EQ(fuente->Colocacion().map(QPointF(1, 2)), QPointF(0, 2));
}

TEST_F(Modelo, RegulatorAndTConnectorTakeTheirDirectionFromTheirTubes) {
    auto* fuente = Nuevo(T::Presion);
    auto* reg = Nuevo(T::Regulador1);
    auto* t = Nuevo(T::ConectorT);
    auto* o = Nuevo(T::ValvulaOr);
    L.ActualizarGeometria();
    auto* tubo = Unir(fuente->Conexion(0), reg->Conexion(0));
    EXPECT_EQ(Sentidos(*reg), "E S");
    delete tubo;
    EXPECT_EQ(Sentidos(*reg), "ES ES");
    EXPECT_EQ(fuente->Conexion(0)->Tubo, nullptr);

    Unir(t->Conexion(0), o->Conexion(0));
    EXPECT_EQ(Sentidos(*t), "S ES ES"); // the other two may still take air in or give it out
    Unir(t->Conexion(1), o->Conexion(1));
    EXPECT_EQ(Sentidos(*t), "S S E"); // two tubes leaving: air comes in at the third
}

TEST_F(Modelo, OpenPortsShowAnExhaustOnValvesAndCylindersOnly) {
    auto* v = Nuevo(T::Valvula32NC);
    auto* y = Nuevo(T::ValvulaAnd);
    EXPECT_EQ(std::tuple(v->Conexion(1)->MostrarEscape(), v->Conexion(2)->MostrarEscape(),
                         y->Conexion(0)->MostrarEscape()),
              std::tuple(true, false, false));
    EXPECT_EQ(v->NumConectadas(), 2); // both inputs count as open ports
}

TEST_F(Modelo, LineShapesAndTheirCornerPoints) {
    auto xy = [](int Linea) {
        std::string r;
        for (auto p : TAerTubo::Trazado({0, 0}, {10, 4}, Linea))
            r += "(" + NumeroATexto(p.X) + "," + NumeroATexto(p.Y) + ")";
        return r;
    };
    const char* trazados[] = {
        "(0,0)(5,0)(5,4)(10,4)", "(0,0)(10,0)(10,4)", "(0,0)(0,2)(10,2)(10,4)",
        "(0,0)(0,4)(10,4)",      "(0,0)(10,4)",       ""};
    for (int linea = 0; linea < 6; ++linea)
        EXPECT_EQ(xy(linea), trazados[linea]) << linea;

    auto* t = TAerTubo::Crear(L);
    t->SetLinea(7);
    EXPECT_EQ(t->GetLinea(), 2);
    t->SetLinea(0);
    auto* v = t->AnadirVertice({1, 1});
    EXPECT_EQ(v->GetLinea(), 0);
    v->SetLinea(7);
    EXPECT_EQ(v->GetLinea(), 0);
}

TEST_F(Modelo, TubesAndTextsFollowTheirElementsButNotTheMiddleVertices) {
    auto* fuente = Nuevo(T::Presion);
    auto* cil = Nuevo(T::CilindroSimple, 40);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), cil->Conexion(0), {{0, 20}});
    ASSERT_EQ(t->Vertices.Count(), 2);
    EXPECT_EQ(L.RefVertices.Count(), 2);
    auto* texto = TAerTexto::Crear(L);
    texto->X = 42;
    texto->Y = 5;
    texto->SetAsociado(cil);
    cil->X = 50;
    cil->Y = 10;
    L.ActualizarGeometria();
    EXPECT_EQ(std::pair(t->Ultimo->X, t->Ultimo->Y), std::pair(40.0, 5.0));
    EXPECT_EQ(std::pair(t->Vertice(0)->X, t->Vertice(0)->Y), std::pair(0.0, 20.0));
    EXPECT_EQ(std::pair(texto->X, texto->Y), std::pair(52.0, 15.0));
}

TEST_F(Modelo, TextFontIsRebuiltOnlyOnChange) {
    auto* texto = TAerTexto::Crear(L);
    const int antes = texto->GetConstrucciones();
    texto->SetTamano(4.0);
    EXPECT_EQ(texto->GetConstrucciones(), antes);
    texto->SetEstilo(etNegrita | etItalica);
    const QFont f = texto->GetFuente();
    EXPECT_EQ(std::tuple(f.bold(), f.italic(), f.underline()), std::tuple(true, true, false));
    EXPECT_EQ(texto->GetFamilia(), "Century Gothic");
}

TEST_F(Modelo, DeletingAnElementFreesItsTubesAndTextsAndEveryReference) {
    auto* fuente = Nuevo(T::Presion);
    auto* v = Valvula(TActuador::Seta);
    L.ActualizarGeometria();
    Unir(fuente->Conexion(0), v->Conexion(0));
    TAerTexto::Crear(L)->SetAsociado(v);
    L.Seleccionado = L.Resaltado = v;
    L.BorrarSeleccion();
    EXPECT_EQ(Cuentas(), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(std::tuple(L.Seleccionado, L.Resaltado, fuente->Conexion(0)->Tubo),
              std::tuple(nullptr, nullptr, nullptr));
}

TEST_F(Modelo, DeletingAVertexOrAPointWithTwoTubesDeletesTheTubes) {
    auto* fuente = Nuevo(T::Presion);
    auto* cil = Nuevo(T::CilindroSimple);
    L.ActualizarGeometria();
    auto* t = Unir(fuente->Conexion(0), cil->Conexion(0), {{0, 20}, {5, 20}});
    L.Seleccionado = t->Vertice(1);
    L.BorrarSeleccion();
    EXPECT_EQ(std::tuple(L.Tubos.Count(), L.RefVertices.Count()), std::tuple(0, 0));
    EXPECT_EQ(std::tuple(fuente->Conexion(0)->Tubo, cil->Conexion(0)->Tubo),
              std::tuple(nullptr, nullptr));
    EXPECT_TRUE(cil->Conexion(0)->Entrada); // keeps the role the tube gave it

    auto* otro = Nuevo(T::CilindroSimple);
    L.ActualizarGeometria();
    Unir(fuente->Conexion(0), cil->Conexion(0));
    Unir(fuente->Conexion(0), otro->Conexion(0)); // takes the point's place from the first
    delete fuente;
    EXPECT_EQ(L.Tubos.Count(), 0);
    EXPECT_EQ(std::tuple(cil->Conexion(0)->Tubo, otro->Conexion(0)->Tubo),
              std::tuple(nullptr, nullptr));
}

TEST_F(Modelo, DeletingACylinderUnlocksItsValves) {
    auto* cil = Nuevo(T::CilindroDoble);
    auto* a = Valvula(TActuador::Rodillo);
    auto* b = Valvula(TActuador::Escamoteable);
    a->SetCilindro(cil);
    b->SetCilindro(cil);
    a->SetCilindro(b); // not a cylinder: unlocks
    EXPECT_EQ(a->GetCilindro(), nullptr);
    a->SetCilindro(cil);
    delete cil;
    EXPECT_EQ(std::tuple(a->GetCilindro(), b->GetCilindro()), std::tuple(nullptr, nullptr));
}

// While a tube from a valve's output is drawn, the free inputs of other
// elements are offered to end it, never the valve's own; deleting then
// discards only that tube.
TEST_F(Modelo, ATubeBeingDrawn) {
    auto* v = Nuevo(T::Valvula32NC);
    auto* cil = Nuevo(T::CilindroSimple);
    auto* fuente = Nuevo(T::Presion);
    auto* t = TAerTubo::Crear(L);
    t->SetInicio(v->Conexion(2));
    t->AnadirVertice({3, 3});
    L.TuboNuevo = t;
    L.Modo = mdTubo;
    L.MostrarConexiones = true;
    // Not the valve's own inputs, nor an output.
    std::string marcas;
    for (auto* c : {cil->Conexion(0), v->Conexion(0), v->Conexion(1), fuente->Conexion(0)})
        marcas += c->MostrarMarca() ? '1' : '0';
    EXPECT_EQ(marcas, "1000");

    L.Seleccionado = v;
    L.BorrarSeleccion();
    EXPECT_EQ(std::tuple(L.Tubos.Count(), L.RefVertices.Count(), L.Componentes.Count()),
              std::tuple(0, 0, 3));
    EXPECT_EQ(std::tuple(L.TuboNuevo, v->Conexion(2)->Tubo), std::tuple(nullptr, nullptr));
}

TEST_F(Modelo, ControlTubesCarryPilotSignalsThroughTConnectorsAndTimers) {
    auto* fuente = Nuevo(T::Presion);
    auto* mando = Valvula(TActuador::Seta);
    auto* t = Nuevo(T::ConectorT);
    auto* v52 = Valvula(TActuador::Pilotado, T::Valvula52);
    auto* tempo = Nuevo(T::TemporizadorNA);
    auto* cil = Nuevo(T::CilindroDoble);
    auto* escape = Nuevo(T::Escape);
    L.ActualizarGeometria();
    // Marked as each tube is finished.
    const std::vector<TAerTubo*> tubos = {
        Unir(mando->Conexion(2), t->Conexion(0)),      // control
        Unir(t->Conexion(1), v52->Conexion(5)),        // control: to a pilot
        Unir(t->Conexion(2), tempo->Conexion(0)),      // control: to a timer
        Unir(fuente->Conexion(0), mando->Conexion(0)), // from a source
        Unir(v52->Conexion(3), cil->Conexion(0)),      // a working line
        Unir(v52->Conexion(4), escape->Conexion(0)),   // to an exhaust
    };
    std::string control;
    for (auto* tubo : tubos)
        control += std::to_string(tubo->TuboControl);
    EXPECT_EQ(control, "111000");
}

// An element hands its states down to its sub-elements only when they are
// posed or read. Whatever was set, on the element or on any sub-element, the
// states they end with are those of handing every state down at once.
TEST_F(Modelo, SubElementsEndWithTheStatesOfHandingEachDownAtOnce) {
    std::mt19937 azar(17);
    const double valores[] = {0.0, 0.3, 1.0};
    // A valve, its points and actuators, and a sub-element of an actuator.
    auto arbol = [&] {
        auto* v = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
        TAerComponente::Crear(L, T::ActuadorMuelle)->SetPadre(v->Elemento(3));
        std::vector<TAerComponente*> r{v};
        for (std::size_t i = 0; i < r.size(); ++i)
            for (int j = 0; j < r[i]->Elementos.Count(); ++j)
                r.push_back(r[i]->Elemento(j));
        return r;
    };
    for (int ronda = 0; ronda < 300; ++ronda) {
        SCOPED_TRACE(ronda);
        const auto perezoso = arbol();
        const auto inmediato = arbol();
        ASSERT_EQ(perezoso.size(), 7u);
        for (int paso = 0; paso < 8; ++paso) {
            // Mostly the valve, as a running circuit does.
            const auto k = azar() % 3 == 0 ? azar() % perezoso.size() : 0;
            const double v = valores[azar() % 3];
            perezoso[k]->SetParametro(v);
            inmediato[k]->SetParametro(v);
            for (const TAerComponente* e : inmediato)
                e->GetParametro();
            if (azar() % 5 == 0)
                perezoso[azar() % perezoso.size()]->GetParametro();
        }
        for (std::size_t k = 0; k < perezoso.size(); ++k)
            EXPECT_EQ(perezoso[k]->GetParametro(), inmediato[k]->GetParametro()) << k;
        delete perezoso[0];
        delete inmediato[0];
    }
}
