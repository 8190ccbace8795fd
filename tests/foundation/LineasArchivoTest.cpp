// A file read in blocks gives the lines its whole bytes give, whatever the
// block size cuts through: line endings, long lines, marks and Latin-1 bytes.

#include "EnCarpeta.h"
#include "foundation/Archivo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

using namespace ventix;
namespace fs = std::filesystem;

namespace {

class LineasArchivo : public TEnCarpeta {
protected:
    LineasArchivo() : TEnCarpeta("lineas") {}
    fs::path Escribir(const std::string& Bytes) {
        const fs::path ruta = Dir / "texto.aer";
        std::ofstream(ruta, std::ios::binary) << Bytes;
        return ruta;
    }
    // Every line in order, then backwards, against the whole text's lines.
    void Comparar(const std::string& Bytes, std::size_t Bloque) {
        const auto esperadas = LineasDeTexto(Bytes);
        const TLineasArchivo lineas(Escribir(Bytes), Bloque);
        ASSERT_EQ(lineas.Count(), static_cast<int>(esperadas.size())) << Bloque;
        for (int k = 0; k < lineas.Count(); ++k)
            ASSERT_EQ(lineas.Linea(k), esperadas[static_cast<std::size_t>(k)])
                << k << " " << Bloque;
        for (int k = lineas.Count() - 1; k >= 0; --k)
            ASSERT_EQ(lineas.Linea(k), esperadas[static_cast<std::size_t>(k)])
                << k << " " << Bloque;
    }
};

} // namespace

TEST_F(LineasArchivo, BlocksOfAnySizeGiveTheLinesOfTheWholeText) {
    const std::string largo(40, 'x');
    for (const std::string& bytes :
         {std::string("a\r\n\r\nb\nc\rd"), std::string("a\r\n\r\nb\nc\rd\r\n"),
          std::string("\n\ra\r"), std::string("V\xE1lvula\r\n\xF1"),
          std::string("\xEF\xBB\xBFV\xC3\xA1lvula\rx"), std::string("\xEF\xBB"),
          std::string("\xEF\xBB\xBF"), std::string("sin final"), std::string("\r\n\r\n\r\n"),
          "corta\r\n" + largo + "\r\n" + largo + "\rz", std::string()})
        for (std::size_t bloque : {1u, 2u, 3u, 4u, 5u, 7u, 64u * 1024u})
            Comparar(bytes, bloque);
}

TEST_F(LineasArchivo, LinesFarApartAreFoundInAnyOrder) {
    // Lines of every length up to several blocks, with every ending.
    std::mt19937 azar(17);
    std::string bytes;
    const char* finales[] = {"\r\n", "\n", "\r"};
    for (int k = 0; k < 700; ++k) {
        bytes += std::string(azar() % 50, static_cast<char>('a' + k % 26));
        bytes += finales[azar() % 3];
    }
    const auto esperadas = LineasDeTexto(bytes);
    const TLineasArchivo lineas(Escribir(bytes), 16);
    ASSERT_EQ(lineas.Count(), 700);
    for (int n = 0; n < 2000; ++n) {
        const int k = static_cast<int>(azar() % 700);
        ASSERT_EQ(lineas.Linea(k), esperadas[static_cast<std::size_t>(k)]) << k;
    }
    EXPECT_THROW(lineas.Linea(700), EListaError);
    EXPECT_THROW(lineas.Linea(-1), EListaError);
}

TEST_F(LineasArchivo, RefusesAsTheWholeReadDoesAndAFileCutShortMeanwhile) {
    EXPECT_EQ(Error([&] { TLineasArchivo l(Dir); }), Error([&] { LeerArchivo(Dir); }));
    EXPECT_EQ(Error([&] { TLineasArchivo l(Dir / "falta"); }),
              Error([&] { LeerArchivo(Dir / "falta"); }));
    EXPECT_EQ(Error([] { TLineasArchivo l("/dev/zero"); }),
              Error([] { LeerArchivo("/dev/zero"); }));

    std::string bytes;
    for (int k = 0; k < 300; ++k)
        bytes += "linea " + std::to_string(k) + "\r\n";
    const fs::path ruta = Escribir(bytes);
    const TLineasArchivo lineas(ruta, 32);
    EXPECT_EQ(lineas.Linea(0), "linea 0");
    fs::resize_file(ruta, 100);
    EXPECT_EQ(Error([&] { lineas.Linea(250); }),
              "Error al leer el archivo \"" + ruta.string() + "\"");
}
