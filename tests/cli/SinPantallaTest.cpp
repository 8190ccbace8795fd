// ventix-cli as a grader runs it on a server: no display, no Qt platform
// chosen, output that may fail, arguments that may be wrong, files that must
// survive a failed write.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TResultado {
    int Estado = -1;
    std::string Salida, Errores;
};

std::string Leer(const fs::path& Ruta) {
    std::ifstream f(Ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

class SinPantalla : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("ventix_sin_pantalla_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Runs the tool without a display or a platform; Antes goes before it in
    // the shell (a limit), Salida replaces the capture of standard output.
    TResultado Cli(const std::vector<std::string>& Args, const std::string& Antes = "",
                   const std::string& Salida = "") {
        std::string orden = Antes + "env -u DISPLAY -u QT_QPA_PLATFORM '" VENTIX_CLI "'";
        for (const auto& a : Args)
            orden += " '" + a + "'";
        orden += " >" + (Salida.empty() ? "'" + (Dir / "out").string() + "'" : Salida) + " 2>'" +
                 (Dir / "err").string() + "'";
        const int s = std::system(("(" + orden + ")").c_str());
        TResultado r;
        r.Estado = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        r.Salida = Leer(Dir / "out");
        r.Errores = Leer(Dir / "err");
        fs::remove(Dir / "out");
        return r;
    }
    std::string Ruta(const std::string& Nombre) const { return (Dir / Nombre).string(); }
    std::string Escribir(const std::string& Nombre, const std::string& Texto) const {
        std::ofstream(Dir / Nombre, std::ios::binary) << Texto;
        return Ruta(Nombre);
    }
    static std::string Ejemplo(const std::string& Nombre) {
        return (fs::u8path(VENTIX_RAIZ) / "examples" / (Nombre + ".aer")).string();
    }
    fs::path Dir;
};

} // namespace

TEST_F(SinPantalla, EveryCommandWorksOnEveryExampleWithNothingOnStandardError) {
    std::vector<fs::path> ejemplos;
    for (const auto& e : fs::directory_iterator(fs::u8path(VENTIX_RAIZ) / "examples"))
        if (e.path().extension() == ".aer")
            ejemplos.push_back(e.path());
    std::sort(ejemplos.begin(), ejemplos.end());
    ASSERT_GE(ejemplos.size(), 9u);
    for (const auto& ruta : ejemplos) {
        const std::string e = ruta.string();
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"check", e},
                 {"simulate", e, "--steps", "3", "--tubes"},
                 {"format", e},
                 {"render", e, Ruta("r.png"), "--width", "300", "--height", "200"}}) {
            SCOPED_TRACE(args[0] + " " + ruta.filename().string());
            const auto r = Cli(args);
            EXPECT_EQ(r.Estado, 0);
            EXPECT_EQ(r.Errores, "");
            EXPECT_FALSE(r.Salida.empty() && args[0] != "render");
        }
        EXPECT_EQ(Cli({"format", e}).Salida, Leer(ruta));
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"library"}, {"symbols", Ruta("s.png")}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.Estado, 0) << args[0];
        EXPECT_EQ(r.Errores, "") << args[0];
    }
    // Text came out: the sheet is far from blank where the type names are.
    EXPECT_GT(fs::file_size(Ruta("s.png")), 50000u);
}

TEST_F(SinPantalla, AFailedWriteIsAnErrorAndLeavesTheOldFileWhole) {
    const std::string ejemplo = Ejemplo("05_memoria_valvula_biestable");
    auto r = Cli({"format", ejemplo}, "", "/dev/full");
    EXPECT_EQ(r.Estado, 1);
    EXPECT_EQ(r.Errores, "ventix-cli format: no se ha podido escribir la salida estándar\n");
    EXPECT_EQ(Cli({"library"}, "", "/dev/full").Estado, 1);

    // Formatting a file onto itself keeps it; past the file-size limit (1 KB
    // blocks) nothing is truncated, whether circuit or picture.
    const std::string copia = Escribir("copia.aer", Leer(ejemplo));
    EXPECT_EQ(Cli({"format", copia, "-o", copia}).Estado, 0);
    EXPECT_EQ(Leer(copia), Leer(ejemplo));
    r = Cli({"format", copia, "-o", copia}, "ulimit -f 1; ");
    EXPECT_EQ(r.Estado, 1);
    EXPECT_NE(r.Errores.find("el archivo supera el tamaño permitido"), std::string::npos)
        << r.Errores;
    EXPECT_EQ(Leer(copia), Leer(ejemplo));
    const std::string png = Escribir("dibujo.png", "antes");
    EXPECT_EQ(Cli({"render", ejemplo, png}, "ulimit -f 1; ").Estado, 1);
    EXPECT_EQ(Leer(png), "antes");
    EXPECT_EQ(Cli({"symbols", png}, "ulimit -f 1; ").Estado, 1);
    EXPECT_EQ(Leer(png), "antes");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 3)
        << "no temporary file is left behind";
}

TEST_F(SinPantalla, WrongArgumentsAndCataloguesAreRefusedAtOnceWithStatusTwo) {
    const std::string ejemplo = Ejemplo("01_mando_directo_simple_efecto");
    struct TCaso {
        std::vector<std::string> Args;
        std::string Mensaje;
    };
    const TCaso casos[] = {
        {{"library", "extra"}, "sobra el argumento \"extra\""},
        {{"symbols", Ruta("a.png"), Ruta("b.png")}, "sobra el argumento"},
        {{"symbols", Ruta("x.gif")}, "El formato de imagen \".gif\" no se admite"},
        {{"render", ejemplo, Ruta("x.gif")}, "El formato de imagen \".gif\" no se admite"},
        {{"render", ejemplo, Ruta("x")}, "Falta la extensión del archivo de imagen"},
        {{"render", ejemplo, Ruta("x.png"), "--scale", "0.0001"}, "la imagen mediría 0 x 0"},
        {{"render", ejemplo, Ruta("x.png"), "--scale", "41"}, "la imagen mediría 49200 x 32800"},
        {{"render", ejemplo, Ruta("x.png"), "--scale", "2", "--scale", "3"},
         "la opción --scale aparece más de una vez"},
        {{"format", ejemplo, "otro.aer"}, "Uso: ventix-cli format"},
        {{"simulate", ejemplo, "--steps", "3", "--press", "Pulsador@4"},
         "--press Pulsador@4 llega después del último paso (3)"},
        {{"simulate", ejemplo, "--release", "Pulsador:2@9", "--steps", "8"},
         "--release Pulsador:2@9 llega después del último paso (8)"},
        {{"symbols", Ruta("s.png"), "--libreria", "/no/existe"},
         "catálogo: No se encuentra el catálogo de componentes \"/no/existe\""},
        {{"library", "--libreria", Ruta("")}, "No se encuentra el catálogo de componentes"},
        {{"check", ejemplo, "--libreria", VENTIX_TEST_DATA "/catalogo"},
         "catálogo: El tipo \"Presión\" usa la librería de símbolos \"Pruebas\""},
        {{"symbols", Ruta("s.png"), "--libreria", VENTIX_TEST_DATA "/catalogo"},
         "catálogo: El tipo \"Presión\" usa la librería de símbolos \"Pruebas\""},
    };
    for (const auto& c : casos) {
        const auto r = Cli(c.Args);
        SCOPED_TRACE(c.Args[0] + " " + c.Args.back());
        EXPECT_EQ(r.Estado, 2);
        EXPECT_NE(r.Errores.find(c.Mensaje), std::string::npos) << r.Errores;
        EXPECT_EQ(r.Salida, "");
    }
    EXPECT_FALSE(fs::exists(Ruta("s.png")));
    // The catalogue's folder is taken as well as its file.
    auto r = Cli({"library", "--libreria", VENTIX_TEST_DATA "/catalogo"});
    EXPECT_EQ(r.Estado, 1);
    EXPECT_NE(r.Salida.find("Problema: El tipo \"Presión\""), std::string::npos);
    EXPECT_EQ(Cli({"render", ejemplo, Ruta("x.png"), "--width", "400", "--scale", "0.0025"})
                  .Estado,
              0);
}

TEST_F(SinPantalla, CsvQuotesOnlyTheNamesThatNeedIt) {
    std::string texto = Leer(Ejemplo("01_mando_directo_simple_efecto"));
    for (std::size_t p; (p = texto.find("\"A\"")) != std::string::npos;)
        texto.replace(p, 3, "\"Cil, &#34;A&#34;\"");
    const auto r = Cli({"simulate", Escribir("coma.aer", texto), "--steps", "1"});
    EXPECT_EQ(r.Estado, 0) << r.Errores;
    EXPECT_EQ(r.Salida.substr(0, r.Salida.find('\n')), "step,\"Cil, \"\"A\"\"\",Pulsador");
}
