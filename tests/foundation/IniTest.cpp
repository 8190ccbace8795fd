#include "foundation/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace ventix;

TEST(Ini, KeysIgnoreSpanishCaseAndBadNumbersGiveTheDefault) {
    const auto ini =
        TArchivoIni::DeTexto("; comment\r\n[MAIN]\r\n"
                             "NOMBRE = Válvulas ; no comment here\r\n"
                             "Número=12\r\nHex=0x1F\r\nColor=0xFF000000\r\nDolar=$10\r\n"
                             "Malo=12abc\r\nVacio=\r\nReal=2.5\r\nComa=2,5\r\n"
                             "Exp=-1.5E2\r\nGrande=99999999999\r\nComillas=\"a b\"\r\n"
                             "numero=99\r\n\n[ Vacía ]\n[bloque-Émbolo]\n"
                             "  DeltaX = 10\n    RotacionY=90\n");
    EXPECT_EQ(ini.ReadString("main", "nombre", "x"), "Válvulas ; no comment here");
    EXPECT_EQ(ini.ReadInteger("Main", "NÚMERO", 0), 12); // the first occurrence wins
    EXPECT_EQ(ini.ReadFloat("BLOQUE-ÉMBOLO", "deltax", 0), 10.0);
    // An indented line is a key of its own, not a continuation.
    EXPECT_EQ(ini.ReadFloat("bloque-émbolo", "RotacionY", 0), 90.0);
    // A section without keys exists too.
    EXPECT_EQ(std::tuple(ini.ValueExists("MAIN", "vacio"), ini.ValueExists("MAIN", "otra"),
                         ini.SectionExists("VACÍA"), ini.SectionExists("BLOQUE")),
              std::tuple(true, false, true, false));
    EXPECT_EQ(ini.Secciones(), (std::vector<std::string>{"MAIN", "Vacía", "bloque-Émbolo"}));
    EXPECT_EQ(ini.Claves("bloque-émbolo"), (std::vector<std::string>{"DeltaX", "RotacionY"}));

    const std::pair<const char*, std::int32_t> enteros[] = {
        {"Hex", 31},   {"Color", static_cast<std::int32_t>(0xFF000000u)},
        {"Dolar", 16}, {"Malo", 7},
        {"Vacio", 7},  {"Grande", 7},
        {"Falta", 7},  {"Real", 7}};
    for (auto [clave, valor] : enteros)
        EXPECT_EQ(ini.ReadInteger("MAIN", clave, 7), valor) << clave;
    const std::pair<const char*, double> reales[] = {
        {"Real", 2.5}, {"Exp", -150}, {"Coma", 1}, {"Vacio", 1}, {"Malo", 1}};
    for (auto [clave, valor] : reales)
        EXPECT_EQ(ini.ReadFloat("MAIN", clave, 1), valor) << clave;
    EXPECT_EQ(ini.ReadInteger("NADA", "Hex", 7), 7);
    EXPECT_EQ(ini.ReadString("MAIN", "Comillas", "") + "|" + ini.ReadString("MAIN", "Falta", "def"),
              "a b|def");
    EXPECT_TRUE(ini.ReadBool("MAIN", "Hex", false) && ini.ReadBool("MAIN", "Malo", true));
}

TEST(Ini, IntegerAndRealEdges) {
    const std::pair<const char*, std::int32_t> buenos[] = {{"-2147483648", INT32_MIN},
                                                           {" +42 ", 42}};
    for (auto [texto, valor] : buenos) {
        std::int32_t v = 0;
        EXPECT_TRUE(TArchivoIni::TextoAEntero(texto, v)) << texto;
        EXPECT_EQ(v, valor);
    }
    for (const char* texto : {"2147483648", "0x", "0x100000000", "-"}) {
        std::int32_t v = 0;
        EXPECT_FALSE(TArchivoIni::TextoAEntero(texto, v)) << texto;
    }
    double d = 0;
    EXPECT_FALSE(TArchivoIni::TextoAReal("1E999", d));
}

TEST(Ini, FileIsReadAsLatin1AndLongLinesSurvive) {
    const auto ruta = std::filesystem::temp_directory_path() / "ventix_ini_test.ini";
    // "LIBRERÍA" and "Válvula" in ISO-8859-1.
    std::ofstream(ruta, std::ios::binary) << "[LIBRER\xCD"
                                             "A]\r\nNombre=V\xE1lvula\r\nLargo="
                                          << std::string(1000, 'x') << "\r\nDespues=1\r\n";
    const TArchivoIni ini(ruta);
    EXPECT_TRUE(ini.Leido());
    EXPECT_EQ(std::tuple(ini.ReadString("librería", "NOMBRE", ""),
                         ini.ReadString("LIBRERÍA", "Largo", "").size(),
                         ini.ReadInteger("LIBRERÍA", "Despues", 0)),
              std::tuple(std::string("Válvula"), std::size_t{1000}, 1));
    std::filesystem::remove(ruta);

    const TArchivoIni falta(ruta);
    EXPECT_EQ(std::tuple(falta.Leido(), falta.ReadInteger("A", "B", 3)), std::tuple(false, 3));

    // CR alone ends lines too; a UTF-8 mark is skipped and makes the file UTF-8.
    std::ofstream(ruta, std::ios::binary) << "\xEF\xBB\xBF[MAIN]\rTotal=2\r[Válvula]\rN=ñ\r";
    const TArchivoIni utf8(ruta);
    EXPECT_EQ(std::tuple(utf8.ReadInteger("MAIN", "Total", 0), utf8.ReadString("VÁLVULA", "N", "")),
              std::tuple(2, std::string("ñ")));
    std::filesystem::remove(ruta);
}
