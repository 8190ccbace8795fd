#include "files/ArchivoAer.h"

#include "Circuito.h"

#include <functional>

// The undo history's snapshots: a writer that remembers each element's lines
// must give, after any change, the lines a writer without memory gives.

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

class Instantanea : public ::testing::Test {
protected:
    void SetUp() override {
        CargarCatalogo(L);
        // A named cylinder worked by an unnamed roller valve, an unnamed
        // valve driving it from a source, a text linked to the cylinder.
        Cil = TAerComponente::Crear(L, T::CilindroDoble);
        Cil->SetNombre("A");
        Cil->X = 10;
        Rodillo = TAerValvula::Crear(L, true, TActuador::Escamoteable, T::Valvula32NC);
        Rodillo->SetCilindro(Cil);
        Rodillo->X = 30;
        Valvula = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
        Valvula->Y = -20;
        Fuente = TAerComponente::Crear(L, T::Presion);
        Fuente->X = -20;
        Etiqueta = TAerTexto::Crear(L);
        Etiqueta->Cadena = "Cilindro A";
        Etiqueta->SetAsociado(Cil);
        Tubo = Unir(Valvula->Conexion(1), Cil->Conexion(0), {{1.25, -7.5}});
        Unir(Fuente->Conexion(0), Valvula->Conexion(0), {{0, -10}});
    }
    // The remembering writer's snapshot, against one written without memory
    // and one written by a writer that remembers nothing of this circuit.
    void Comparar() {
        const A::TInstantanea s = Escritor.Escribir(L);
        EXPECT_EQ(s.Lineas(), A::Instantanea(L));
        EXPECT_TRUE(s == A::TEscritorInstantaneas().Escribir(L));
    }
    TAerPaintBox L;
    A::TEscritorInstantaneas Escritor;
    TAerComponente *Cil = nullptr, *Fuente = nullptr;
    TAerValvula *Rodillo = nullptr, *Valvula = nullptr;
    TAerTexto* Etiqueta = nullptr;
    TAerTubo* Tubo = nullptr;
};

TEST_F(Instantanea, EveryChangeIsWrittenAsAWriterWithoutMemoryWritesIt) {
    using Cambio = std::pair<const char*, std::function<void()>>;
    const Cambio Cambios[] = {
        {"nothing", [] {}},
        // Its name is written in the valve's interlock, the text and the tube.
        {"rename the cylinder", [&] { Cil->SetNombre("B"); }},
        {"name the valve", [&] { Valvula->SetNombre("V"); }},
        // Written as "$$$" and its place, in the valve, the text and the tube.
        {"unname the cylinder", [&] { Cil->SetNombre(""); }},
        {"move the cylinder to the end of its list", [&] { Cil->SetIndice(3); }},
        {"name the cylinder", [&] { Cil->SetNombre("B"); }},
        {"move a bend", [&] { Tubo->Vertice(0)->X = 1.0 / 3.0; }},
        {"change a bend's line", [&] { Tubo->Vertice(0)->SetLinea(lnRecta); }},
        {"move a tube end", [&] { Tubo->SetFin(nullptr), Tubo->SetFin(Cil->Conexion(1)); }},
        {"move the source", [&] { L.MoverGrupo({Fuente}, 0.5, -0.5); }},
        {"set a state", [&] { Rodillo->SetParametro(0.25); }},
        {"set a value", [&] { Rodillo->Valor = 1; }},
        {"turn the roller", [&] { Rodillo->Sentido = TSentido::Avance; }},
        {"reflect and scale", [&] { Valvula->Simetrico = true, Valvula->EscalaY = -1; }},
        {"turn", [&] { Valvula->Alfa = 90; }},
        {"edit the text", [&] { Etiqueta->Cadena = "Cilindro \"B\" <1>"; }},
        {"restyle the text",
         [&] {
             Etiqueta->SetEstilo(etNegrita | etTachada);
             Etiqueta->SetTamano(6);
             Etiqueta->ColorTexto = QColor(10, 20, 30, 40);
         }},
        {"unlink the text", [&] { Etiqueta->SetAsociado(nullptr); }},
        {"unlock the roller", [&] { Rodillo->SetCilindro(nullptr); }},
        // The unnamed components after it get other "$$$" names.
        {"delete the cylinder", [&] { L.BorrarElementos({Cil}); }},
        // The same place in the list, the same "$$$" name, other values.
        {"delete the source and add another there",
         [&] {
             L.BorrarElementos({Fuente});
             auto* e = TAerComponente::Crear(L, T::Escape);
             e->X = -20;
         }},
        {"delete the text and add another there",
         [&] {
             L.BorrarElementos({Etiqueta});
             Etiqueta = TAerTexto::Crear(L);
             Etiqueta->Cadena = "Cilindro A";
         }},
        {"start a tube", [&] { TAerTubo::Crear(L)->SetInicio(Rodillo->Conexion(0)); }},
        {"empty the canvas", [&] { L.BorrarCircuito(); }},
    };
    for (const auto& [Nombre, Hacer] : Cambios) {
        SCOPED_TRACE(Nombre);
        Hacer();
        Comparar();
    }
}

// Rows of cells (a named source, valve and cylinder, two tubes with a bend
// each).
void Celdas(TAerPaintBox& L, int N) {
    for (int k = 0; k < N; ++k) {
        auto* f = TAerComponente::Crear(L, T::Presion);
        auto* v = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
        auto* c = TAerComponente::Crear(L, T::CilindroSimple);
        f->SetNombre("P" + std::to_string(k));
        v->SetNombre("V" + std::to_string(k));
        c->SetNombre("C" + std::to_string(k));
        f->X = v->X = k * 40.0;
        c->X = f->X + 20;
        v->Y = 20;
        Unir(f->Conexion(0), v->Conexion(0), {{f->X, 10}});
        Unir(v->Conexion(2), c->Conexion(0), {{c->X, 10}});
    }
}

TEST_F(Instantanea, ASnapshotHoldsOnlyWhatChangedOfTheOneBefore) {
    L.BorrarCircuito();
    Celdas(L, 300);
    const A::TInstantanea Vacia, Antes = Escritor.Escribir(L);
    const std::size_t Todo = Antes.BytesPropios(Vacia);
    auto Propios = [&](const A::TInstantanea& Ahora, const A::TInstantanea& Anterior) {
        EXPECT_FALSE(Ahora == Anterior);
        EXPECT_EQ(Ahora.Lineas(), A::Instantanea(L));
        return Ahora.BytesPropios(Anterior);
    };
    // A valve in the middle moved with its tubes.
    L.MoverGrupo({L.Componentes.ItemComo<TAerComponente>(451)}, 0.5, 0);
    const A::TInstantanea Movido = Escritor.Escribir(L);
    EXPECT_LT(Propios(Movido, Antes), Todo / 40);
    // Every element after it one place earlier in its list.
    L.BorrarElementos({L.Componentes.ItemComo<TAerComponente>(300)});
    const A::TInstantanea Borrado = Escritor.Escribir(L);
    EXPECT_LT(Propios(Borrado, Movido), Todo / 40);
    // Lines of the same lengths, other text.
    L.Componentes.ItemComo<TAerComponente>(2)->SetNombre("X0");
    const A::TInstantanea Renombrado = Escritor.Escribir(L);
    EXPECT_LT(Propios(Renombrado, Borrado), Todo / 40);
    // Far more elements gone than are looked for around each place.
    std::vector<TAerComponente*> Lejos;
    for (int i = 30; i < 120; ++i)
        Lejos.push_back(L.Componentes.ItemComo<TAerComponente>(i));
    L.BorrarElementos(Lejos);
    EXPECT_LT(Propios(Escritor.Escribir(L), Renombrado), Todo / 40);
    EXPECT_TRUE(Escritor.Escribir(L) == A::TEscritorInstantaneas().Escribir(L));
}

} // namespace
