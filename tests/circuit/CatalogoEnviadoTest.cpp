#include "ConCatalogo.h"

#include <cmath>
#include <map>

using namespace ventix;

namespace {

class CatalogoEnviado : public TConCatalogo {
protected:
    CatalogoEnviado() : TConCatalogo(VENTIX_TEST_DATA "/../../data/Librerías/LIBRERÍA.txt") {}
};

} // namespace

// Every type has its symbol. The simulation addresses ports by their order
// and every saved circuit refers to points by position: this order and these
// kinds are a contract.
TEST_F(CatalogoEnviado, LoadsWithoutProblemsWithEverySymbolAndThePointContract) {
    for (const auto& p : L.Libreria.Problemas)
        ADD_FAILURE() << p;
    const std::map<T, std::vector<int>> contrato = {
        {T::Presion, {0}},
        {T::Valvula22NA, {1, 0}},
        {T::Valvula22NC, {1, 0}},
        {T::Valvula32NA, {1, 1, 0}},
        {T::Valvula32NC, {1, 1, 0}},
        {T::Valvula52, {1, 1, 1, 0, 0}},
        {T::CilindroSimple, {1}},
        {T::CilindroDoble, {1, 1}},
        {T::ValvulaAnd, {1, 1, 0}},
        {T::ValvulaOr, {1, 1, 0}},
        {T::Regulador1, {10, 10}},
        {T::Regulador2, {10, 10}},
        {T::TemporizadorNA, {1, 1, 0}},
        {T::TemporizadorNC, {1, 1, 0}},
        {T::Escape, {0}},
        {T::ConectorT, {10, 10, 10}},
        {T::ActuadorPilotadoIzquierdo, {1}},
        {T::ActuadorPilotadoDerecho, {1}},
    };
    for (int t = 1; t <= 30; ++t) {
        const auto tipo = static_cast<T>(t);
        EXPECT_NE(L.Libreria.GetSimbolo(tipo), nullptr) << NombreTipo(tipo);
        const auto it = contrato.find(tipo);
        const std::vector<int> esperado = it == contrato.end() ? std::vector<int>{} : it->second;
        std::vector<int> real;
        for (int i = 1; i <= L.Libreria.GetConexiones(tipo); ++i) {
            const auto p = L.Libreria.GetConexion(tipo, i);
            real.push_back(p.Tipo);
            EXPECT_EQ(p.X * 2, std::nearbyint(p.X * 2)) << NombreTipo(tipo) << " point " << i;
            EXPECT_EQ(p.Y * 2, std::nearbyint(p.Y * 2)) << NombreTipo(tipo) << " point " << i;
        }
        EXPECT_EQ(real, esperado) << NombreTipo(tipo);
    }
    EXPECT_EQ(L.Libreria.GetParametro(T::ValvulaAnd), 0.5);
    EXPECT_EQ(L.Libreria.GetParametro(T::ValvulaOr), 0.5);
}

// Fitting the view shows the whole circuit: actuators and springs beyond a
// valve's body count, the origin does not unless something lies there.
TEST_F(CatalogoEnviado, TheExtentCoversActuatorsAndOnlyTheCircuit) {
    auto* v = Valvula(TActuador::Seta);
    v->X = 200;
    v->Y = 100;
    L.SetCliente(800, 600);
    L.Activar();
    L.Paint();
    const TCADLimites e = TCADLimites::DeRectF(L.Extension);
    const TCADLimites Cuerpo = TCADLimites::DeRectF(v->Bounds);
    EXPECT_LT(e.Left, Cuerpo.Left - 10) << "the push-button, left of the body";
    EXPECT_GT(e.Right, Cuerpo.Right + 10) << "the spring, right of the body";
    EXPECT_GT(e.Left, 150);
    EXPECT_GT(e.Bottom, 80);
}
