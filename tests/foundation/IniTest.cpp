#include "foundation/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace ventix;

namespace {

const char* const kTexto = "; comment\r\n"
                           "[MAIN]\r\n"
                           "NOMBRE = Válvulas ; no comment here\r\n"
                           "Número=12\r\n"
                           "Hex=0x1F\r\n"
                           "Color=0xFF000000\r\n"
                           "Dolar=$10\r\n"
                           "Malo=12abc\r\n"
                           "Vacio=\r\n"
                           "Real=2.5\r\n"
                           "Coma=2,5\r\n"
                           "Exp=-1.5E2\r\n"
                           "Grande=99999999999\r\n"
                           "Comillas=\"a b\"\r\n"
                           "numero=99\r\n"
                           "\n"
                           "[ Vacía ]\n"
                           "[bloque-Émbolo]\n"
                           "  DeltaX = 10\n"
                           "    RotacionY=90\n";

} // namespace

TEST(Ini, SectionsAndKeysIgnoreCaseIncludingSpanishLetters) {
    const auto ini = TArchivoIni::DeTexto(kTexto);
    EXPECT_EQ(ini.ReadString("main", "nombre", "x"), "Válvulas ; no comment here");
    EXPECT_EQ(ini.ReadInteger("Main", "NÚMERO", 0), 12); // the first occurrence wins
    EXPECT_EQ(ini.ReadFloat("BLOQUE-ÉMBOLO", "deltax", 0), 10.0);
    // An indented line is a key of its own, not a continuation.
    EXPECT_EQ(ini.ReadFloat("bloque-émbolo", "RotacionY", 0), 90.0);
    EXPECT_TRUE(ini.SectionExists("BLOQUE-ÉMBOLO"));
    EXPECT_FALSE(ini.SectionExists("BLOQUE"));
    EXPECT_TRUE(ini.ValueExists("MAIN", "vacio"));
    EXPECT_FALSE(ini.ValueExists("MAIN", "otra"));
    EXPECT_TRUE(ini.SectionExists("VACÍA")); // a section without keys exists too
    EXPECT_EQ(ini.Secciones(), (std::vector<std::string>{"MAIN", "Vacía", "bloque-Émbolo"}));
    EXPECT_EQ(ini.Claves("bloque-émbolo"), (std::vector<std::string>{"DeltaX", "RotacionY"}));
}

TEST(Ini, NumbersFallBackToTheDefaultWhenMissingEmptyOrMalformed) {
    const auto ini = TArchivoIni::DeTexto(kTexto);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Color", 0), static_cast<std::int32_t>(0xFF000000u));
    EXPECT_EQ(ini.ReadInteger("MAIN", "Dolar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Malo", 7), 7);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Vacio", 7), 7);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Grande", 7), 7);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Falta", 7), 7);
    EXPECT_EQ(ini.ReadInteger("NADA", "Hex", 7), 7);
    EXPECT_EQ(ini.ReadInteger("MAIN", "Real", 7), 7);
    EXPECT_EQ(ini.ReadFloat("MAIN", "Real", 0), 2.5);
    EXPECT_EQ(ini.ReadFloat("MAIN", "Exp", 0), -150.0);
    EXPECT_EQ(ini.ReadFloat("MAIN", "Coma", 1), 1.0);
    EXPECT_EQ(ini.ReadFloat("MAIN", "Vacio", 1), 1.0);
    EXPECT_EQ(ini.ReadFloat("MAIN", "Malo", 1), 1.0);
    EXPECT_EQ(ini.ReadString("MAIN", "Comillas", ""), "a b");
    EXPECT_EQ(ini.ReadString("MAIN", "Falta", "def"), "def");
    EXPECT_TRUE(ini.ReadBool("MAIN", "Hex", false));
    EXPECT_TRUE(ini.ReadBool("MAIN", "Malo", true));
}

TEST(Ini, IntegerEdges) {
    std::int32_t v = 0;
    EXPECT_TRUE(TArchivoIni::TextoAEntero("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_FALSE(TArchivoIni::TextoAEntero("2147483648", v));
    EXPECT_TRUE(TArchivoIni::TextoAEntero(" +42 ", v));
    EXPECT_EQ(v, 42);
    EXPECT_FALSE(TArchivoIni::TextoAEntero("0x", v));
    EXPECT_FALSE(TArchivoIni::TextoAEntero("0x100000000", v));
    EXPECT_FALSE(TArchivoIni::TextoAEntero("-", v));
    double d = 0;
    EXPECT_FALSE(TArchivoIni::TextoAReal("1E999", d));
}

TEST(Ini, FileIsReadAsLatin1AndLongLinesSurvive) {
    const auto ruta = std::filesystem::temp_directory_path() / "ventix_ini_test.ini";
    {
        std::ofstream f(ruta, std::ios::binary);
        // "LIBRERÍA" and "Válvula" in ISO-8859-1.
        f << "[LIBRER\xCD"
             "A]\r\nNombre=V\xE1lvula\r\nLargo="
          << std::string(1000, 'x') << "\r\nDespues=1\r\n";
    }
    const TArchivoIni ini(ruta);
    EXPECT_TRUE(ini.Leido());
    EXPECT_EQ(ini.ReadString("librería", "NOMBRE", ""), "Válvula");
    EXPECT_EQ(ini.ReadString("LIBRERÍA", "Largo", "").size(), 1000u);
    EXPECT_EQ(ini.ReadInteger("LIBRERÍA", "Despues", 0), 1);
    std::filesystem::remove(ruta);

    const TArchivoIni falta(ruta);
    EXPECT_FALSE(falta.Leido());
    EXPECT_EQ(falta.ReadInteger("A", "B", 3), 3);
}
