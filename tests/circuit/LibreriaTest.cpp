#include "circuit/Libreria.h"

#include "../cad/Aplicacion.h"
#include "foundation/Texto.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace ventix;
using T = TTipoComponente;

namespace {

// Writes a catalogue (given in UTF-8) as the Latin-1 file the program reads.
class Catalogo : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        Carpeta = std::filesystem::temp_directory_path() /
                  ("ventix-catalogo-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Carpeta);
    }
    void TearDown() override { std::filesystem::remove_all(Carpeta); }
    void Cargar(const std::string& Texto) {
        const auto ruta = Carpeta / std::filesystem::u8path("LIBRERÍA.txt");
        std::ofstream(ruta, std::ios::binary) << Utf8ALatin1(Texto);
        L.Cargar(ruta);
    }
    std::string Simbolos() const { return VENTIX_TEST_DATA "/simbolos/prueba.ini"; }
    // Every problem, a line each.
    static std::string Problemas(const TAerLibreria& Libreria) {
        std::string r;
        for (const auto& p : Libreria.Problemas)
            r += p + "\n";
        return r;
    }
    std::filesystem::path Carpeta;
    TAerLibreria L;
};

} // namespace

TEST_F(Catalogo, MissingKeysAndSectionsGiveTheDefaults) {
    Cargar(
        "[MAIN]\r\nTotal=0\r\n[Válvula32NC]\r\nConexiones=3\r\nConexiónX1=-5\r\nConexiónY1=-10\r\n"
        "TipoConexión1=1\r\n");
    ASSERT_EQ(L.GetConexiones(T::Valvula32NC), 3);
    const auto p1 = L.GetConexion(T::Valvula32NC, 1), p3 = L.GetConexion(T::Valvula32NC, 3);
    EXPECT_EQ(std::tuple(p1.X, p1.Tipo, p3.X, p3.Tipo), std::tuple(-5.0, 1, 0.0, 10));

    const TParametros* e = L.GetEntrada(T::CilindroDoble);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Param("LIBRERÍA").AsTexto(), "ERROR");
    EXPECT_EQ(e->Param("COMPONENTE").AsEntero(), -1);
    EXPECT_EQ(std::tuple(L.GetParametro(T::CilindroDoble), L.GetConexiones(T::CilindroDoble),
                         L.Entradas.Count()),
              std::tuple(0.0, 0, 30));
    EXPECT_EQ(
        std::tuple(L.GetSimbolo(T::CilindroDoble), L.GetEntrada(T::Null), L.GetEntrada(T::Last)),
        std::tuple(nullptr, nullptr, nullptr));
}

TEST_F(Catalogo, NumbersFollowTheIniRules) {
    Cargar("[Regulador1]\r\nConexiones=-2\r\n[VálvulaAnd]\r\nParámetro=0.5\r\nConexiones=0x2\r\n"
           "[VálvulaOr]\r\nParámetro=0,5\r\n");
    // A negative count makes no point parameters; "0,5" is no number.
    EXPECT_EQ(
        std::pair(L.GetConexiones(T::Regulador1), L.GetEntrada(T::Regulador1)->Parametros.Count()),
        std::pair(-2, 6));
    EXPECT_EQ(std::tuple(L.GetParametro(T::ValvulaAnd), L.GetConexiones(T::ValvulaAnd),
                         L.GetParametro(T::ValvulaOr)),
              std::tuple(0.5, 2, 0.0));
}

TEST_F(Catalogo, SymbolsAreFoundByLibraryNameAndPosition) {
    Cargar("[MAIN]\r\nTotal=1\r\nLib1=" + Simbolos() +
           "\r\n[CilindroSimple]\r\nLIBRERÍA=Símbolos de prueba\r\nCOMPONENTE=1\r\n"
           "[TemporizadorNA]\r\nLIBRERÍA=SÍMBOLOS DE PRUEBA\r\nCOMPONENTE=2\r\n");
    for (auto [tipo, nombre] :
         {std::pair(T::CilindroSimple, "Cilindro"), {T::TemporizadorNA, "Temporizador"}}) {
        ASSERT_NE(L.GetSimbolo(tipo), nullptr) << nombre;
        EXPECT_EQ(L.GetSimbolo(tipo)->GetNombre(), nombre);
    }
}

TEST_F(Catalogo, ProblemsAreReportedAndLoadingGoesOn) {
    Cargar("[MAIN]\r\nTotal=2\r\nLib1=noexiste.ini\r\nLib2=" + Simbolos() +
           "\r\n[CilindroSimple]\r\nLIBRERÍA=Símbolos de prueba\r\nCOMPONENTE=7\r\n"
           "[CilindroDoble]\r\nLIBRERÍA=Símbolos de prueba\r\nCOMPONENTE=1\r\n");
    EXPECT_NE(L.GetSimbolo(T::CilindroDoble), nullptr);
    EXPECT_EQ(L.GetSimbolo(T::CilindroSimple), nullptr);
    const std::string problemas = Problemas(L);
    for (const char* trozo : {"noexiste.ini", "\"CilindroSimple\" usa el símbolo 7",
                              "\"Presión\" usa la librería de símbolos \"ERROR\""})
        EXPECT_NE(problemas.find(trozo), std::string::npos) << trozo;

    TAerLibreria falta;
    falta.Cargar(Carpeta / "no-hay.txt");
    ASSERT_EQ(falta.Problemas.size(), 1u);
    EXPECT_NE(falta.Problemas.front().find("No se encuentra el catálogo"), std::string::npos);
    EXPECT_EQ(falta.Entradas.Count(), 30);
}

// Counts beyond sane bounds are problems, not loops of a billion turns; a
// catalogue that is no file says why.
TEST_F(Catalogo, HugeCountsAreProblemsAndAFolderIsNoCatalogue) {
    Cargar("[MAIN]\r\nTotal=2147483647\r\n[Presión]\r\nConexiones=100000\r\n"
           "[Escape]\r\nConexiones=64\r\n");
    EXPECT_EQ(L.Estanteria.Librerias.Count(), 0);
    EXPECT_EQ(L.GetConexiones(T::Presion), 0);
    EXPECT_EQ(L.GetConexiones(T::Escape), 64);
    const std::string problemas = Problemas(L);
    for (const char* trozo :
         {"El catálogo declara 2147483647 librerías de símbolos (\"Total\"); el máximo es 1000",
          "El tipo \"Presión\" declara 100000 puntos de conexión; el máximo es 64"})
        EXPECT_NE(problemas.find(trozo), std::string::npos) << trozo;
    EXPECT_EQ(problemas.find("\"Escape\" declara"), std::string::npos);

    TAerLibreria carpeta;
    carpeta.Cargar(Carpeta);
    EXPECT_FALSE(carpeta.Leido);
    ASSERT_EQ(carpeta.Problemas.size(), 1u);
    EXPECT_EQ(carpeta.Problemas.front(), "No se puede leer el catálogo de componentes: \"" +
                                             Carpeta.string() + "\" es una carpeta");
}
