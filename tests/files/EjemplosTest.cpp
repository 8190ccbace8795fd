// The example circuits: exact round trips, clean checks, tubes ending on their
// points, and a scenario each run through `ventix-cli simulate`.

#include "files/ArchivoAer.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace ventix;
namespace fs = std::filesystem;

namespace {

const fs::path kRaiz = fs::u8path(VENTIX_RAIZ);
const fs::path kCatalogo = kRaiz / fs::u8path("data/Librerías/LIBRERÍA.txt");

std::string Leer(const fs::path& Ruta) {
    std::ifstream f(Ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<fs::path> Ejemplos() {
    std::vector<fs::path> r;
    for (const auto& e : fs::directory_iterator(kRaiz / "examples"))
        if (e.path().extension() == ".aer")
            r.push_back(e.path());
    std::sort(r.begin(), r.end());
    return r;
}

struct TSalida {
    int Estado = -1;
    std::string Salida, Errores;
};

// Runs ventix-cli with the arguments (quoted for the shell).
TSalida Cli(const std::vector<std::string>& Args) {
    const fs::path dir =
        fs::temp_directory_path() / ("ventix_cli_test_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::string orden = "'" + std::string(VENTIX_CLI) + "'";
    for (const auto& a : Args)
        orden += " '" + a + "'";
    orden += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    TSalida r;
    const int s = std::system(orden.c_str());
    r.Estado = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    r.Salida = Leer(dir / "out");
    r.Errores = Leer(dir / "err");
    return r;
}

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

std::map<std::string, std::vector<double>> Simular(const std::string& Ejemplo,
                                                   std::vector<std::string> Args) {
    Args.insert(Args.begin(), {"simulate", (kRaiz / "examples" / (Ejemplo + ".aer")).string()});
    const auto s = Cli(Args);
    EXPECT_EQ(s.Estado, 0) << s.Errores;
    return Columnas(s.Salida);
}

} // namespace

TEST(Ejemplos, RoundTripCheckAndTubesOnTheirPoints) {
    AsegurarAplicacion();
    const auto ejemplos = Ejemplos();
    EXPECT_GE(ejemplos.size(), 9u);
    for (const auto& ruta : ejemplos) {
        SCOPED_TRACE(ruta.filename().string());
        TAerPaintBox L;
        L.Libreria.Cargar(kCatalogo);
        const std::string bytes = Leer(ruta);
        ArchivoAer::Leer(L, ArchivoAer::LineasDe(bytes));
        EXPECT_EQ(ArchivoAer::Bytes(ArchivoAer::Escribir(L)), bytes);
        EXPECT_EQ(L.Verificar(), 0);
        EXPECT_GT(L.Textos.Count(), 1);
        // Written by the editor, a tube's last bend lies on its end point.
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

TEST(Ejemplos, MandoDirectoYIndirecto) {
    auto d = Simular("01_mando_directo_simple_efecto",
                     {"--steps", "12", "--press", "Pulsador@1", "--release", "Pulsador@7"});
    EXPECT_EQ(Cuando(d["A"], 1), 5);
    EXPECT_EQ(Cuando(d["A"], 0, true, 6), 11);
    auto i = Simular("02_mando_indirecto_doble_efecto", {"--steps", "14", "--press", "Pulsador@1",
                                                         "--release", "Pulsador@8", "--tubes"});
    EXPECT_EQ(i["V1"][1], 1);
    EXPECT_EQ(Cuando(i["A"], 1), 6);
    EXPECT_EQ(i["V1"][8], 0);
    EXPECT_EQ(i["T0"].size(), 15u);
}

TEST(Ejemplos, FuncionesYyO) {
    auto y = Simular("03_funcion_y_mando_bimanual",
                     {"--steps", "16", "--press", "Izquierda@1", "--press", "Derecha@6",
                      "--release", "Izquierda@12"});
    for (int k = 0; k <= 6; ++k)
        EXPECT_EQ(y["A"][k], 0) << "una sola mano no basta, paso " << k;
    EXPECT_EQ(Cuando(y["A"], 1), 12);
    EXPECT_NEAR(y["A"].back(), 0.2, 1e-9); // soltar una mano lo recoge
    auto o = Simular("04_funcion_o_dos_puntos", {"--steps", "16", "--press", "Mesa@1", "--release",
                                                 "Mesa@7", "--press", "Puerta@12"});
    EXPECT_EQ(Cuando(o["A"], 1), 5);
    EXPECT_EQ(Cuando(o["A"], 0, true, 7), 11);
    EXPECT_EQ(o["A"][16], 1);
}

TEST(Ejemplos, MemoriaYRetornoTemporizado) {
    auto m = Simular("05_memoria_valvula_biestable",
                     {"--steps", "16", "--press", "Avance@1", "--release", "Avance@2", "--press",
                      "Retroceso@9", "--release", "Retroceso@10"});
    EXPECT_EQ(Cuando(m["A"], 1), 6);
    EXPECT_EQ(m["A"][8], 1); // sin pulsar nada, la válvula mantiene el avance
    EXPECT_EQ(Cuando(m["A"], 0, true, 9), 14);
    auto t = Simular("06_retorno_temporizado",
                     {"--steps", "24", "--press", "Marcha@1", "--release", "Marcha@2"});
    const int llega = Cuando(t["A"], 1);
    const int vuelve = Cuando(t["A"], 0.99, true, llega);
    EXPECT_EQ(llega, 6);
    EXPECT_GE(vuelve - llega, 6); // espera lo que marca el temporizador
    EXPECT_NEAR(t["A"].back(), 0, 1e-9);
}

TEST(Ejemplos, RegulacionVaivenYSecuencia) {
    auto r = Simular("07_regulacion_velocidad", {"--steps", "14", "--press", "V1@1"});
    EXPECT_GT(Cuando(r["A"], 1), 5); // más despacio que sin reguladores
    auto v =
        Simular("08_vaiven_automatico_finales_carrera", {"--steps", "30", "--press", "Marcha@1"});
    const int ida = Cuando(v["A"], 1);
    const int vuelta = Cuando(v["A"], 0, true, ida);
    const int otra = Cuando(v["A"], 1, false, vuelta);
    EXPECT_GT(ida, 0);
    EXPECT_GT(vuelta, ida);
    EXPECT_GT(otra, vuelta);
    auto s = Simular("09_secuencia_dos_cilindros",
                     {"--steps", "30", "--press", "Marcha@1", "--release", "Marcha@2"});
    const int aMas = Cuando(s["A"], 1);
    const int bMas = Cuando(s["B"], 1);
    const int aMenos = Cuando(s["A"], 0, true, aMas);
    const int bMenos = Cuando(s["B"], 0, true, bMas);
    EXPECT_GT(aMas, 0);
    EXPECT_LT(aMas, bMas);
    EXPECT_LT(bMas, aMenos);
    EXPECT_LT(aMenos, bMenos);
    EXPECT_NEAR(s["A"].back(), 0, 1e-9); // un solo ciclo: la marcha ya se soltó
    EXPECT_NEAR(s["B"].back(), 0, 1e-9);
}

TEST(Cli, ErrorsAndExitStatuses) {
    const fs::path dir =
        fs::temp_directory_path() / ("ventix_cli_roto_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto escribir = [&](const std::string& Nombre, const std::string& Texto) {
        std::ofstream(dir / Nombre, std::ios::binary) << Texto;
        return (dir / Nombre).string();
    };
    const std::string cabecera = "<?xml version=\"1.0\"?>\r\n<NEUMATICA VERSION=\"1.0\">\r\n";
    // Unreadable: missing, or the reason with the file and its line.
    EXPECT_EQ(Cli({"check", (dir / "no-existe.aer").string()}).Estado, 2);
    auto c = Cli({"check", escribir("truncado.aer", cabecera + "<COMPONENTES>\r\n")});
    EXPECT_EQ(c.Estado, 2);
    EXPECT_NE(c.Errores.find("truncado.aer, línea 3: El archivo termina antes de lo esperado"),
              std::string::npos)
        << c.Errores;
    c = Cli(
        {"format", escribir("tubo.aer", cabecera + "<TUBOS>\r\n  <TUBO INI=\"x\" FIN=\"y\">\r\n"
                                                   "  </TUBO>\r\n</TUBOS>\r\n</NEUMATICA>\r\n")});
    EXPECT_EQ(c.Estado, 2);
    EXPECT_NE(c.Errores.find("línea 4: el tubo nombra el componente \"x\", que no existe"),
              std::string::npos);
    // Readable with errors: a pressure source with its point loose.
    const std::string suelta = escribir(
        "suelta.aer", cabecera + "<COMPONENTES>\r\n  <COMPONENTE NOMBRE=\"F\">\r\n"
                                 "    <PARAM TIPO=\"1\" />\r\n  </COMPONENTE>\r\n</COMPONENTES>\r\n"
                                 "</NEUMATICA>\r\n");
    c = Cli({"check", suelta});
    EXPECT_EQ(c.Estado, 1);
    EXPECT_NE(c.Salida.find("El Componente \"F\" del tipo \"Presión\" tiene 1 error:"),
              std::string::npos);
    EXPECT_EQ(Cli({"simulate", suelta, "--steps", "2"}).Estado, 1);
    // Format writes the file back exactly; render writes a picture.
    const auto ejemplo = (kRaiz / "examples" / "05_memoria_valvula_biestable.aer").string();
    c = Cli({"format", ejemplo});
    EXPECT_EQ(c.Estado, 0);
    EXPECT_EQ(c.Salida, Leer(ejemplo));
    const auto png = (dir / "memoria.png").string();
    EXPECT_EQ(
        Cli({"render", ejemplo, png, "--width", "300", "--height", "200", "--scale", "2"}).Estado,
        0);
    QImage img(QString::fromStdString(png));
    EXPECT_EQ(img.size(), QSize(600, 400));
    EXPECT_EQ(Cli({"render", ejemplo, (dir / "x.gif").string()}).Estado, 2);
    EXPECT_EQ(Cli({"simulate", ejemplo, "--steps", "2", "--press", "Nadie@1"}).Estado, 2);
    fs::remove_all(dir);
}
