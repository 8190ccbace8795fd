// The example circuits: tubes ending on their points, and a scenario each run
// through `ventix-cli simulate`. (Exact round trips and clean checks of every
// example are the command-line tests'.)

#include "files/ArchivoAer.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"

#include "../cad/Aplicacion.h"

#include "../cli/Cli.h"

#include <map>

using namespace ventix;
namespace fs = std::filesystem;

namespace {

const fs::path kRaiz = fs::u8path(VENTIX_RAIZ);
const fs::path kCatalogo = kRaiz / fs::u8path("data/Librerías/LIBRERÍA.txt");

// The CSV of `simulate` as columns of numbers by header name.
std::map<std::string, std::vector<double>> Columnas(const std::string& Csv) {
    std::istringstream s(Csv);
    std::string linea, c;
    std::vector<std::string> nombres;
    std::getline(s, linea);
    for (std::istringstream l(linea); std::getline(l, c, ',');)
        nombres.push_back(c);
    std::map<std::string, std::vector<double>> r;
    while (std::getline(s, linea)) {
        std::istringstream l(linea);
        for (std::size_t i = 0; i < nombres.size() && std::getline(l, c, ','); ++i)
            r[nombres[i]].push_back(std::stod(c));
    }
    return r;
}

// First step at which a column reaches (or, bajando, falls to) a value; -1 if never.
int Cuando(const std::vector<double>& V, double Valor, bool Bajando = false, int Desde = 0) {
    for (int k = Desde; k < static_cast<int>(V.size()); ++k)
        if (Bajando ? V[k] <= Valor + 1e-9 : V[k] >= Valor - 1e-9)
            return k;
    return -1;
}

// A scenario run through `ventix-cli simulate`.
class Ejemplos : public cli::ConCarpeta {
protected:
    std::map<std::string, std::vector<double>> Simular(const std::string& Ejemplo,
                                                       std::vector<std::string> Args) {
        Args.insert(Args.begin(), {"simulate", cli::Ejemplo(Ejemplo)});
        const auto s = Cli(Args);
        EXPECT_EQ(s.Estado, 0) << s.Errores;
        return Columnas(s.Salida);
    }
};

} // namespace

TEST(EjemplosLeidos, TubesEndOnTheirPoints) {
    AsegurarAplicacion();
    const auto ejemplos = cli::Ejemplos();
    EXPECT_GE(ejemplos.size(), 9u);
    for (const auto& ruta : ejemplos) {
        SCOPED_TRACE(ruta.filename().string());
        TAerPaintBox L;
        L.Libreria.Cargar(kCatalogo);
        const std::string bytes = cli::Leer(ruta);
        ArchivoAer::Leer(L, ArchivoAer::LineasDe(bytes));
        EXPECT_GT(L.Textos.Count(), 1);
        // Written by the editor, a tube's last bend lies on its end point:
        // posing the circuit changes nothing that is written.
        L.ActualizarGeometria();
        for (int i = 0; i < L.Tubos.Count(); ++i) {
            const auto* t = L.Tubos.ItemComo<TAerTubo>(i);
            ASSERT_GT(t->Vertices.Count(), 0);
            const auto* v = t->Vertice(t->Vertices.Count() - 1);
            EXPECT_NEAR(v->X, t->Fin->XMundo, 0.006) << "tubo " << i;
            EXPECT_NEAR(v->Y, t->Fin->YMundo, 0.006) << "tubo " << i;
        }
        EXPECT_EQ(ArchivoAer::Bytes(ArchivoAer::Escribir(L)), bytes);
    }
}

TEST_F(Ejemplos, MandoDirectoYIndirecto) {
    auto d = Simular("01_mando_directo_simple_efecto",
                     {"--steps", "12", "--press", "Pulsador@1", "--release", "Pulsador@7"});
    EXPECT_EQ(std::tuple(Cuando(d["A"], 1), Cuando(d["A"], 0, true, 6)), std::tuple(5, 11));
    auto i = Simular("02_mando_indirecto_doble_efecto", {"--steps", "14", "--press", "Pulsador@1",
                                                         "--release", "Pulsador@8", "--tubes"});
    EXPECT_EQ(std::tuple(i["V1"][1], Cuando(i["A"], 1), i["V1"][8], i["T0"].size()),
              std::tuple(1.0, 6, 0.0, std::size_t{15}));
}

TEST_F(Ejemplos, FuncionesYyO) {
    auto y = Simular("03_funcion_y_mando_bimanual",
                     {"--steps", "16", "--press", "Izquierda@1", "--press", "Derecha@6",
                      "--release", "Izquierda@12"});
    for (int k = 0; k <= 6; ++k)
        EXPECT_EQ(y["A"][k], 0) << "una sola mano no basta, paso " << k;
    EXPECT_EQ(Cuando(y["A"], 1), 12);
    EXPECT_NEAR(y["A"].back(), 0.2, 1e-9); // soltar una mano lo recoge
    auto o = Simular("04_funcion_o_dos_puntos", {"--steps", "16", "--press", "Mesa@1", "--release",
                                                 "Mesa@7", "--press", "Puerta@12"});
    EXPECT_EQ(std::tuple(Cuando(o["A"], 1), Cuando(o["A"], 0, true, 7), o["A"][16]),
              std::tuple(5, 11, 1.0));
}

TEST_F(Ejemplos, MemoriaYRetornoTemporizado) {
    auto m = Simular("05_memoria_valvula_biestable",
                     {"--steps", "16", "--press", "Avance@1", "--release", "Avance@2", "--press",
                      "Retroceso@9", "--release", "Retroceso@10"});
    // Sin pulsar nada, la válvula mantiene el avance.
    EXPECT_EQ(std::tuple(Cuando(m["A"], 1), m["A"][8], Cuando(m["A"], 0, true, 9)),
              std::tuple(6, 1.0, 14));
    auto t = Simular("06_retorno_temporizado",
                     {"--steps", "24", "--press", "Marcha@1", "--release", "Marcha@2"});
    const int llega = Cuando(t["A"], 1);
    const int vuelve = Cuando(t["A"], 0.99, true, llega);
    EXPECT_EQ(llega, 6);
    EXPECT_GE(vuelve - llega, 6); // espera lo que marca el temporizador
    EXPECT_NEAR(t["A"].back(), 0, 1e-9);
}

TEST_F(Ejemplos, RegulacionVaivenYSecuencia) {
    auto r = Simular("07_regulacion_velocidad", {"--steps", "14", "--press", "V1@1"});
    EXPECT_GT(Cuando(r["A"], 1), 5); // más despacio que sin reguladores
    auto v =
        Simular("08_vaiven_automatico_finales_carrera", {"--steps", "30", "--press", "Marcha@1"});
    const int ida = Cuando(v["A"], 1);
    const int vuelta = Cuando(v["A"], 0, true, ida);
    const int otra = Cuando(v["A"], 1, false, vuelta);
    EXPECT_TRUE(0 < ida && ida < vuelta && vuelta < otra) << ida << " " << vuelta << " " << otra;
    auto s = Simular("09_secuencia_dos_cilindros",
                     {"--steps", "30", "--press", "Marcha@1", "--release", "Marcha@2"});
    const int aMas = Cuando(s["A"], 1);
    const int bMas = Cuando(s["B"], 1);
    const int aMenos = Cuando(s["A"], 0, true, aMas);
    const int bMenos = Cuando(s["B"], 0, true, bMas);
    EXPECT_TRUE(0 < aMas && aMas < bMas && bMas < aMenos && aMenos < bMenos)
        << aMas << " " << bMas << " " << aMenos << " " << bMenos;
    // Un solo ciclo: la marcha ya se soltó.
    EXPECT_NEAR(std::abs(s["A"].back()) + std::abs(s["B"].back()), 0, 1e-9);
}
