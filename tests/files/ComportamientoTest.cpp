// What the program makes of the examples and of a large generated circuit
// (tools/gen_circuito_grande.py) must not change when its insides do: the
// written bytes, the check report, the simulation figures and the pixels of
// a fitted and of a zoomed view are compared with fingerprints taken before.
// With VENTIX_HUELLAS_NUEVAS set the test writes the fingerprints instead.

#include "files/ArchivoAer.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "foundation/Archivo.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
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
const fs::path kHuellas = fs::u8path(VENTIX_TEST_DATA) / "grande" / "huellas.txt";

std::string Huella(const QByteArray& Datos) {
    return QCryptographicHash::hash(Datos, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string Huella(const std::string& Datos) {
    return Huella(QByteArray::fromStdString(Datos));
}

std::string Huella(const QImage& Imagen) {
    const QImage i = Imagen.convertToFormat(QImage::Format_ARGB32);
    QByteArray d;
    d.append(std::to_string(i.width()) + "x" + std::to_string(i.height()));
    for (int y = 0; y < i.height(); ++y)
        d.append(reinterpret_cast<const char*>(i.constScanLine(y)), i.width() * 4);
    return Huella(d);
}

// Runs ventix-cli; standard output and the exit status.
std::pair<int, std::string> Cli(const std::vector<std::string>& Args) {
    const fs::path salida =
        fs::temp_directory_path() / ("ventix_huellas_" + std::to_string(getpid()));
    std::string orden = "'" + std::string(VENTIX_CLI) + "'";
    for (const auto& a : Args)
        orden += " '" + a + "'";
    orden += " >'" + salida.string() + "' 2>/dev/null";
    const int s = std::system(orden.c_str());
    std::string texto = LeerArchivo(salida);
    fs::remove(salida);
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, texto};
}

// Every fingerprint of one circuit, by name.
std::map<std::string, std::string> Huellas(const fs::path& Ruta,
                                           const std::vector<std::string>& Simulacion) {
    std::map<std::string, std::string> r;
    const std::string archivo = Ruta.string();
    auto [estado, informe] = Cli({"check", archivo});
    r["check"] = std::to_string(estado) + " " + Huella(informe);
    std::vector<std::string> args{"simulate", archivo, "--tubes"};
    args.insert(args.end(), Simulacion.begin(), Simulacion.end());
    auto [estadoSim, csv] = Cli(args);
    r["simulate"] = std::to_string(estadoSim) + " " + Huella(csv);
    const fs::path png =
        fs::temp_directory_path() / ("ventix_huellas_" + std::to_string(getpid()) + ".png");
    Cli({"render", archivo, png.string()});
    r["render"] = Huella(QImage(QString::fromStdString(png.string())));
    fs::remove(png);

    // In process: the written bytes, then a view zoomed into the middle.
    TAerPaintBox L;
    L.Libreria.Cargar(kRaiz / fs::u8path("data/Librerías/LIBRERÍA.txt"));
    ArchivoAer::Leer(L, ArchivoAer::LineasDe(LeerArchivo(Ruta)));
    r["format"] = Huella(ArchivoAer::Bytes(ArchivoAer::Escribir(L)));
    L.MostrarConexiones = L.MostrarVertices = L.MostrarTextos = L.MostrarTubosControl = true;
    L.MostrarEnclavamientos = true;
    L.SetCliente(600, 400);
    L.Activar();
    L.Paint();
    L.AjustarVista();
    L.Paint();
    const TCADRectF e = L.Extension;
    const TCADCoordenada centro{e.X + e.Width / 3, e.Y + e.Height / 3};
    for (int k = 0; k < 8; ++k)
        L.ZoomRueda(centro, 1);
    L.Paint();
    r["zoom"] = Huella(L.Bitmap);
    // Selected and highlighted elements paint their marks.
    if (L.Componentes.Count() > 2) {
        L.Seleccionar(static_cast<TAerComponente*>(L.Componentes.Item(2)));
        L.Paint();
        r["seleccion"] = Huella(L.Bitmap);
    }
    // Every third tube taken away: a report with errors, and the control
    // tubes that are left.
    for (int i = L.Tubos.Count() - 1; i >= 0; i -= 3)
        delete L.Tubos.Item(i);
    const int errores = L.Verificar();
    std::string lineas, control;
    for (const auto& l : L.Errores)
        lineas += l + "\n";
    L.MarcarTubosControl();
    for (int i = 0; i < L.Tubos.Count(); ++i)
        control += std::to_string(L.Tubos.ItemComo<TAerTubo>(i)->TuboControl);
    r["errores"] = std::to_string(errores) + " " + Huella(lineas) + " " + Huella(control);
    return r;
}

struct TCaso {
    std::string Nombre;
    fs::path Ruta;
    std::vector<std::string> Simulacion;
};

std::vector<TCaso> Casos() {
    std::vector<TCaso> r;
    for (const auto& e : fs::directory_iterator(kRaiz / "examples"))
        if (e.path().extension() == ".aer")
            r.push_back({e.path().stem().string(), e.path(), {"--steps", "12"}});
    std::sort(r.begin(), r.end(), [](const auto& a, const auto& b) { return a.Nombre < b.Nombre; });
    // Buttons of several copies pressed and released along the run.
    r.push_back({"grande",
                 fs::u8path(VENTIX_TEST_DATA) / "grande" / "grande.aer",
                 {"--steps",      "30",         "--press",    "Pulsador_0@1",  "--release",
                  "Pulsador_0@6", "--press",    "Marcha_7@2", "--press",       "Marcha_5@3",
                  "--release",    "Marcha_5@4", "--press",    "Izquierda_2@1", "--press",
                  "Derecha_2@5",  "--press",    "P_9@1",      "--press",       "V1_6@2",
                  "--press",      "Avance_4@1", "--release",  "Avance_4@2"}});
    return r;
}

} // namespace

TEST(Comportamiento, SameBytesReportsFiguresAndPixelsAsBefore) {
    AsegurarAplicacion();
    std::ostringstream obtenidas;
    for (const auto& caso : Casos())
        for (const auto& [tipo, huella] : Huellas(caso.Ruta, caso.Simulacion))
            obtenidas << caso.Nombre << " " << tipo << " " << huella << "\n";
    if (std::getenv("VENTIX_HUELLAS_NUEVAS")) {
        std::ofstream(kHuellas, std::ios::binary) << obtenidas.str();
        GTEST_SKIP() << "huellas escritas en " << kHuellas;
    }
    const std::string esperadas = LeerArchivo(kHuellas);
    ASSERT_FALSE(esperadas.empty()) << kHuellas;
    // Line by line, so a failure names the circuit and what changed.
    std::istringstream a(esperadas), b(obtenidas.str());
    std::string la, lb;
    while (std::getline(a, la)) {
        std::getline(b, lb);
        EXPECT_EQ(lb, la);
    }
    EXPECT_FALSE(std::getline(b, lb)) << "huella de más: " << lb;
}
