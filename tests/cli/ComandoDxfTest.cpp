// The dxf command: a drawing read into JSON.

#include "Cli.h"

#include <nlohmann/json.hpp>

using nlohmann::json;
using namespace cli;

namespace {

using CliDxf = ConCarpeta;

std::string Datos(const std::string& Nombre) {
    return std::string(VENTIX_TEST_DATA) + "/dxf/" + Nombre;
}

} // namespace

TEST_F(CliDxf, GoodFilesGiveTheirLayersAndEntities) {
    for (const char* nombre : {"r12.dxf", "r2000.dxf", "r2018.dxf"}) {
        SCOPED_TRACE(nombre);
        const auto r = Cli({"dxf", Datos(nombre)});
        EXPECT_EQ(r.Estado, 0);
        EXPECT_EQ(r.Errores, "");
        const json j = json::parse(r.Salida);
        EXPECT_TRUE(j["error"].is_null());
        ASSERT_EQ(j["layers"].size(), 5u);
        const json& cuerpo = j["layers"][2];
        EXPECT_EQ(std::tuple(cuerpo["name"], cuerpo["color"], cuerpo["active"], cuerpo["linetype"]),
                  std::tuple("Cuerpo", 1, true, "CONTINUOUS"));
        EXPECT_EQ(std::tuple(j["layers"][3]["active"], j["layers"][4]["name"]),
                  std::tuple(false, "Válvula"));

        const json& punto = cuerpo["entities"][0];
        EXPECT_EQ(std::tuple(punto["type"], punto["dxf"], punto["points"]),
                  std::tuple(1, "POINT", json::parse("[[1, 2, 3]]")));
        const json& linea = cuerpo["entities"][1];
        EXPECT_EQ(std::tuple(linea["points"], linea["color"]),
                  std::tuple(json::parse("[[0, 0, 0], [10, 5, 0]]"), 4));
        EXPECT_FALSE(linea.contains("radius"));

        const json& arco = j["layers"][4]["entities"][1];
        EXPECT_EQ(std::tuple(arco["type"], arco["radius"], arco["alfa1"], arco["alfa2"]),
                  std::tuple(4, 4.0, -10.0, 10.0));
        const json& t = j["layers"][3]["entities"][0];
        EXPECT_EQ(std::tuple(t["text"], t["align"], t["height"], t["rotation"], t["clip_width"]),
                  std::tuple("Émbolo", 5, 1.5, 90.0, 0.0));
    }
}

TEST_F(CliDxf, NumbersHaveAtMostFifteenSignificantDigits) {
    const auto r = Cli(
        {"dxf", Escribir("digitos.dxf",
                         "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nA\n0\nENDTAB\n"
                         "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nA\n"
                         "10\n0.30000000000000004\n20\n1e300\n0\nENDSEC\n0\nEOF\n")});
    EXPECT_EQ(r.Estado, 0);
    EXPECT_TRUE(r.Salida.find("0.3,") != std::string::npos &&
                r.Salida.find("0.30000000000000004") == std::string::npos)
        << r.Salida;
}

TEST_F(CliDxf, TruncatedFileGivesTheErrorInTheJsonAndStatusOne) {
    // Cut inside the entities section.
    std::string texto = Leer(Datos("r2018.dxf"));
    texto.resize(texto.find("LWPOLYLINE"));
    const auto r = Cli({"dxf", Escribir("truncado.dxf", texto)});
    EXPECT_EQ(r.Estado, 1);
    const json j = json::parse(r.Salida);
    ASSERT_TRUE(j["error"].is_string());
    EXPECT_EQ(
        j["error"].get<std::string>().rfind("El archivo termina antes de lo esperado (línea ", 0),
        0u);
    // What was read before the error is there.
    EXPECT_EQ(j["layers"].size(), 5u);
    EXPECT_GE(j["layers"][2]["entities"].size(), 3u);
    EXPECT_NE(r.Errores.find("El archivo termina antes de lo esperado"), std::string::npos);
}

// Usage, help and the catalogue commands: status and the telling part of
// the text (the shipped catalogue is copied beside the tool).
TEST_F(CliDxf, UsageHelpAndCatalogue) {
    struct TCaso {
        std::vector<std::string> Args;
        int Estado;
        std::string Salida, Errores;
    };
    const TCaso casos[] = {
        {{"dxf", "/no/existe.dxf"}, 2, "", "No se puede abrir"},
        {{"dxf"}, 2, "", ""},
        {{}, 2, "", ""},
        {{"dibujar"}, 2, "", "orden desconocida"},
        {{"symbols"}, 2, "", ""},
        {{"--help"}, 0, "dxf", ""},
        {{"dxf", "--help"}, 0, "Uso: ventix-cli dxf ARCHIVO.dxf", ""},
        {{"library"}, 0, "Válvula52\tlibrería \"Válvulas\"", ""},
    };
    for (const auto& c : casos) {
        const auto r = Cli(c.Args);
        SCOPED_TRACE(c.Args.empty() ? "(nada)" : c.Args[0]);
        EXPECT_EQ(r.Estado, c.Estado);
        EXPECT_NE(r.Salida.find(c.Salida), std::string::npos) << r.Salida;
        EXPECT_NE(r.Errores.find(c.Errores), std::string::npos) << r.Errores;
        EXPECT_EQ(r.Salida.find("Problema"), std::string::npos);
        EXPECT_TRUE(c.Estado != 2 || r.Salida.empty()) << r.Salida; // a refusal writes nothing
    }
}
