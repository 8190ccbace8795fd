#include "foundation/Parametros.h"

#include "foundation/Numeros.h"

#include <gtest/gtest.h>

using namespace ventix;

namespace {

class TParametroRoto : public TParametro {
    VENTIX_CLASE(TParametroRoto, TParametro)
    void Romper() { ForzarTipo(9); }
};

// A descendant in the usual pattern: parameters made in the constructor,
// attributes as accessor pairs.
class TCapaDePrueba : public TParametros {
    VENTIX_CLASE(TCapaDePrueba, TParametros)
    TCapaDePrueba() {
        Agregar("Color").SetEntero(0);
        Agregar("Línea").SetTexto("");
        Agregar("Grosor").SetReal(0.0);
    }
    double Grosor() const { return Param("Grosor").AsReal(); }
    void SetGrosor(double v) { Param("Grosor").SetReal(v); }
    double Falta() const { return Param("Falta").AsReal(); }
};

template <class F> std::string Mensaje(F f) {
    try {
        f();
    } catch (const EColeccionError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(Parametro, ConversionsOfEachType) {
    TParametro p;
    // As real, as integer and as text.
    const auto como = [&] {
        return NumeroATexto(p.AsReal()) + " " + std::to_string(p.AsEntero()) + " " + p.AsTexto();
    };
    EXPECT_EQ(como(), "0 0 "); // empty
    p.SetTexto(" 3,5 ");
    EXPECT_EQ(como(), "3.5 4  3,5 ");
    p.SetReal(0.1);
    EXPECT_EQ(como(), "0.1 0 0.1");
    p.SetEntero(-12);
    EXPECT_EQ(como(), "-12 -12 -12");
    p.SetBooleano(true);
    EXPECT_EQ(como(), "1 1 TRUE");
    p.SetBooleano(false);
    EXPECT_EQ(como(), "0 0 FALSE");
    p.SetTexto("abc");
    EXPECT_EQ(Mensaje([&] { p.AsReal(); }),
              "Error TParametros.\r\nSe ha intentado convertir a número un String no válido");
    EXPECT_THROW(p.AsEntero(), EColeccionError);
    EXPECT_EQ(p.AsTexto(), "abc");

    TParametroRoto roto;
    roto.Romper();
    EXPECT_THROW(roto.AsReal(), EColeccionError);
    EXPECT_EQ(Mensaje([&] { roto.AsTexto(); }),
              "Error TParametros.\r\nSe ha intentado acceder a un parámetro de tipo desconocido");
}

TEST(Parametro, AsEnteroAddsAHalfAndTruncatesTowardZero) {
    TParametro p;
    const std::pair<double, int> casos[] = {{2.5, 3},  {2.4, 2},   {-2.7, -2},
                                            {-0.7, 0}, {-2.5, -2}, {1e300, 2147483647}};
    for (auto [v, e] : casos) {
        p.SetReal(v);
        EXPECT_EQ(p.AsEntero(), e) << v;
    }
}

TEST(Parametros, LookupIgnoresCaseSettingNotifiesAndCloneCopiesAll) {
    TCapaDePrueba capa;
    EXPECT_EQ(capa.BuscarParametro("color"), capa.BuscarParametro("Color"));
    EXPECT_NE(capa.BuscarParametro("LÍNEA"), nullptr);
    EXPECT_EQ(Mensaje([&] { capa.Falta(); }),
              "Error TParametros.\r\nNo existe el parámetro \"Falta\"");
    capa.Parametros.Primero();
    ASSERT_TRUE(capa.Parametros.HaySiguiente());
    capa.SetGrosor(1.5);
    EXPECT_EQ(std::tuple(capa.Grosor(), capa.Param("Grosor").GetCambio()),
              std::tuple(1.5, int{cmModificado}));
    EXPECT_THROW(capa.Parametros.HaySiguiente(), EColeccionError);

    capa.SetNombre("Capa1");
    capa.Param("Línea").SetTexto("DASHED");
    auto copia = capa.Clone();
    auto* c = dynamic_cast<TCapaDePrueba*>(copia.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::tuple(c->GetNombre(), c->Grosor(), c->Param("Línea").GetTipo(),
                         c->Param("Línea").AsTexto(), c->Parametros.Count()),
              std::tuple(std::string("Capa1"), 1.5, int{tpTexto}, std::string("DASHED"), 3));
}
