// Reading whole input files with their refusals, replacing files whole or not
// at all, and the line endings of text files.

#include "foundation/Archivo.h"
#include "EnCarpeta.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ventix;
namespace fs = std::filesystem;

namespace {

class Archivo : public TEnCarpeta {
protected:
    Archivo() : TEnCarpeta("archivo") {}
    static std::string Contenido(const fs::path& Ruta) { return LeerArchivo(Ruta); }
};

} // namespace

TEST_F(Archivo, InputsThatAreNoFileOrTooBigAreRefusedBeforeReading) {
    EXPECT_EQ(Error([&] { LeerArchivo(Dir); }), "\"" + Dir.string() + "\" es una carpeta");
    EXPECT_EQ(Error([] { LeerArchivo("/dev/zero"); }), "\"/dev/zero\" no es un archivo normal");
    EXPECT_NE(Error([&] { LeerArchivo(Dir / "falta"); }).find("no existe"), std::string::npos);
    // A sparse file takes no disk: only its size is looked at.
    const fs::path grande = Dir / "grande.aer";
    std::ofstream(grande).close();
    fs::resize_file(grande, kMaximoArchivo + 1);
    EXPECT_EQ(Error([&] { LeerArchivo(grande); }),
              "El archivo \"" + grande.string() +
                  "\" es demasiado grande (256 MB; el máximo es "
                  "256 MB)");
    fs::resize_file(grande, 3);
    EXPECT_EQ(LeerArchivo(grande), std::string(3, '\0'));
}

TEST_F(Archivo, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryBehind) {
    const fs::path ruta = Dir / "circuito.aer";
    EscribirArchivo(ruta, "primero");
    EXPECT_EQ(Contenido(ruta), "primero");
    // A new file gets what the umask gives, not the temporary file's 0600.
    const mode_t mascara = ::umask(022);
    EscribirArchivo(Dir / "nuevo", "x");
    ::umask(mascara);
    EXPECT_EQ(fs::status(Dir / "nuevo").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    fs::permissions(ruta, fs::perms::owner_read | fs::perms::owner_write);
    EscribirArchivo(ruta, "segundo");
    EXPECT_EQ(Contenido(ruta), "segundo");
    EXPECT_EQ(fs::status(ruta).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // Past the file-size limit the write fails half-way, as on a full disk.
    auto* previa = std::signal(SIGXFSZ, SIG_IGN);
    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    rlimit limite = antes;
    limite.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limite);
    const std::string error = Error([&] { EscribirArchivo(ruta, std::string(100000, 'z')); });
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, previa);
    EXPECT_EQ(error, "No se puede escribir el archivo \"" + ruta.string() +
                         "\": el archivo supera el tamaño permitido");
    EXPECT_EQ(Contenido(ruta), "segundo");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 2);

    EXPECT_EQ(Error([&] { EscribirArchivo(Dir, "x"); }),
              "No se puede escribir el archivo \"" + Dir.string() + "\": es una carpeta");
    EXPECT_EQ(Error([&] { EscribirArchivo(Dir / "no" / "hay", "x"); }),
              "No se puede escribir el archivo \"" + (Dir / "no" / "hay").string() +
                  "\": la carpeta no existe");
    // Through a link, the file it names is replaced and the link stays.
    fs::create_symlink(ruta, Dir / "enlace");
    EscribirArchivo(Dir / "enlace", "tercero");
    EXPECT_TRUE(fs::is_symlink(Dir / "enlace") && Contenido(ruta) == "tercero");
}

TEST(Texto, LineEndingsAndByteOrderMark) {
    const std::vector<std::string> lineas{"a", "", "b", "c", "d"};
    EXPECT_EQ(LineasDeTexto("a\r\n\r\nb\nc\rd"), lineas);
    EXPECT_EQ(LineasDeTexto("a\r\n\r\nb\nc\rd\r\n"), lineas);
    EXPECT_EQ(LineasDeTexto("\n\ra\r"), (std::vector<std::string>{"", "", "a"}));
    // ISO-8859-1 without a mark; UTF-8 after one.
    EXPECT_EQ(LineasDeTexto("V\xE1lvula\r"), std::vector<std::string>{"Válvula"});
    EXPECT_EQ(LineasDeTexto("\xEF\xBB\xBFV\xC3\xA1lvula\rx"),
              (std::vector<std::string>{"Válvula", "x"}));
    const TLineasTexto enSitio("a\r\n\r\nb");
    EXPECT_EQ(std::tuple(enSitio.Count(), enSitio.Linea(2)), std::tuple(3, std::string("b")));
    EXPECT_THROW(enSitio.Linea(3), EListaError);
    EXPECT_EQ(TextoDeArchivo("\xEF\xBB\xBF[A]\rB=\xC3\xB1\r\nC=1"), "[A]\nB=ñ\nC=1");
    EXPECT_EQ(TextoDeArchivo("[A]\rB=\xF1"), "[A]\nB=ñ");
}
