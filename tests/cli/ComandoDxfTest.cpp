// Runs ventix-cli as a user would and checks its output and exit status.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using nlohmann::json;

namespace {

struct TSalida {
    int Estado = -1;
    std::string Salida; // standard output
    std::string Errores;
};

TSalida Ejecutar(const std::string& Argumentos) {
    // One file per process: ctest runs the tests of this program in parallel.
    const std::string errores =
        ::testing::TempDir() + "ventix_cli_err_" + std::to_string(getpid()) + ".txt";
    const std::string orden =
        std::string("'") + VENTIX_CLI + "' " + Argumentos + " 2>'" + errores + "'";
    TSalida r;
    FILE* p = popen(orden.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        r.Salida.append(buf.data(), n);
    const int estado = pclose(p);
    r.Estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    std::ifstream f(errores);
    std::stringstream ss;
    ss << f.rdbuf();
    r.Errores = ss.str();
    std::remove(errores.c_str());
    return r;
}

std::string Datos(const std::string& Nombre) {
    return std::string(VENTIX_TEST_DATA) + "/dxf/" + Nombre;
}

} // namespace

TEST(CliDxf, GoodFilesGiveTheirLayersAndEntities) {
    for (const char* nombre : {"r12.dxf", "r2000.dxf", "r2018.dxf"}) {
        SCOPED_TRACE(nombre);
        const auto r = Ejecutar("dxf '" + Datos(nombre) + "'");
        EXPECT_EQ(r.Estado, 0);
        EXPECT_EQ(r.Errores, "");
        const json j = json::parse(r.Salida);
        EXPECT_TRUE(j["error"].is_null());
        ASSERT_EQ(j["layers"].size(), 5u);
        const json& cuerpo = j["layers"][2];
        EXPECT_EQ(cuerpo["name"], "Cuerpo");
        EXPECT_EQ(cuerpo["color"], 1);
        EXPECT_EQ(cuerpo["active"], true);
        EXPECT_EQ(cuerpo["linetype"], "CONTINUOUS");
        EXPECT_EQ(j["layers"][3]["active"], false);
        EXPECT_EQ(j["layers"][4]["name"], "Válvula");

        const json& punto = cuerpo["entities"][0];
        EXPECT_EQ(punto["type"], 1);
        EXPECT_EQ(punto["dxf"], "POINT");
        EXPECT_EQ(punto["points"], json::parse("[[1, 2, 3]]"));
        const json& linea = cuerpo["entities"][1];
        EXPECT_EQ(linea["points"], json::parse("[[0, 0, 0], [10, 5, 0]]"));
        EXPECT_EQ(linea["color"], 4);
        EXPECT_FALSE(linea.contains("radius"));

        const json& arco = j["layers"][4]["entities"][1];
        EXPECT_EQ(arco["type"], 4);
        EXPECT_EQ(arco["radius"], 4.0);
        EXPECT_EQ(arco["alfa1"], -10.0);
        EXPECT_EQ(arco["alfa2"], 10.0);
        const json& texto = j["layers"][3]["entities"][0];
        EXPECT_EQ(texto["text"], "Émbolo");
        EXPECT_EQ(texto["align"], 5);
        EXPECT_EQ(texto["height"], 1.5);
        EXPECT_EQ(texto["rotation"], 90.0);
        EXPECT_EQ(texto["clip_width"], 0.0);
    }
}

TEST(CliDxf, NumbersHaveAtMostFifteenSignificantDigits) {
    const std::string ruta = ::testing::TempDir() + "ventix_cli_digitos.dxf";
    std::ofstream(ruta) << "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n0\nENDTAB\n"
                           "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nA\n"
                           "10\n0.30000000000000004\n20\n1e300\n0\nENDSEC\n0\nEOF\n";
    const auto r = Ejecutar("dxf '" + ruta + "'");
    EXPECT_EQ(r.Estado, 0);
    EXPECT_NE(r.Salida.find("0.3,"), std::string::npos) << r.Salida;
    EXPECT_EQ(r.Salida.find("0.30000000000000004"), std::string::npos);
    std::remove(ruta.c_str());
}

TEST(CliDxf, TruncatedFileGivesTheErrorInTheJsonAndStatusOne) {
    std::ifstream bueno(Datos("r2018.dxf"), std::ios::binary);
    std::string texto((std::istreambuf_iterator<char>(bueno)), std::istreambuf_iterator<char>());
    // Cut inside the entities section.
    texto.resize(texto.find("LWPOLYLINE"));
    const std::string ruta = ::testing::TempDir() + "ventix_cli_truncado.dxf";
    std::ofstream(ruta, std::ios::binary) << texto;
    const auto r = Ejecutar("dxf '" + ruta + "'");
    EXPECT_EQ(r.Estado, 1);
    const json j = json::parse(r.Salida);
    ASSERT_TRUE(j["error"].is_string());
    EXPECT_EQ(j["error"].get<std::string>().rfind("El archivo termina antes de lo esperado (línea ",
                                                  0),
              0u);
    // What was read before the error is there.
    EXPECT_EQ(j["layers"].size(), 5u);
    EXPECT_GE(j["layers"][2]["entities"].size(), 3u);
    EXPECT_NE(r.Errores.find("El archivo termina antes de lo esperado"), std::string::npos);
    std::remove(ruta.c_str());
}

TEST(CliDxf, MissingFileAndUsageErrorsGiveStatusTwo) {
    auto r = Ejecutar("dxf /no/existe.dxf");
    EXPECT_EQ(r.Estado, 2);
    EXPECT_EQ(r.Salida, "");
    EXPECT_NE(r.Errores.find("No se puede abrir"), std::string::npos);
    EXPECT_EQ(Ejecutar("dxf").Estado, 2);
    EXPECT_EQ(Ejecutar("").Estado, 2);
    r = Ejecutar("dibujar");
    EXPECT_EQ(r.Estado, 2);
    EXPECT_NE(r.Errores.find("orden desconocida"), std::string::npos);
}

TEST(CliDxf, Help) {
    auto r = Ejecutar("--help");
    EXPECT_EQ(r.Estado, 0);
    EXPECT_NE(r.Salida.find("dxf"), std::string::npos);
    r = Ejecutar("dxf --help");
    EXPECT_EQ(r.Estado, 0);
    EXPECT_NE(r.Salida.find("Uso: ventix-cli dxf ARCHIVO.dxf"), std::string::npos);
}

// The catalogue commands use the shipped catalogue copied beside the tool.
TEST(CliLibreria, TheShippedCatalogueHasNoProblem) {
    const auto r = Ejecutar("library");
    EXPECT_EQ(r.Estado, 0) << r.Salida;
    EXPECT_NE(r.Salida.find("Válvula52\tlibrería \"Válvulas\""), std::string::npos);
    EXPECT_EQ(r.Salida.find("Problema"), std::string::npos);
}

TEST(CliLibreria, ABrokenCatalogueIsReportedWithStatusOne) {
    const auto r = Ejecutar("library --libreria '" + std::string(VENTIX_TEST_DATA) +
                            "/catalogo/LIBRERÍA.txt'");
    EXPECT_EQ(r.Estado, 1);
    EXPECT_NE(
        r.Salida.find("Problema: El tipo \"Presión\" usa la librería de símbolos \"Pruebas\""),
        std::string::npos);
}

TEST(CliSimbolos, WritesTheSheet) {
    const std::string png =
        ::testing::TempDir() + "ventix_simbolos_" + std::to_string(getpid()) + ".png";
    const auto r = Ejecutar("symbols '" + png + "'");
    EXPECT_EQ(r.Estado, 0) << r.Errores;
    std::ifstream f(png, std::ios::binary);
    std::string cabecera(8, '\0');
    f.read(cabecera.data(), 8);
    EXPECT_EQ(cabecera.substr(1, 3), "PNG");
    std::remove(png.c_str());
    EXPECT_EQ(Ejecutar("symbols").Estado, 2);
}
