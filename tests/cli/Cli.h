#pragma once

// ventix-cli run as a program, from a folder of its own per test.

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

namespace cli {

namespace fs = std::filesystem;

struct TSalida {
    int Estado = -1;
    std::string Salida, Errores;
};

inline std::string Leer(const fs::path& Ruta) {
    std::ifstream f(Ruta, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline std::string Ejemplo(const std::string& Nombre) {
    return (fs::u8path(VENTIX_RAIZ) / "examples" / (Nombre + ".aer")).string();
}

inline std::vector<fs::path> Ejemplos() {
    std::vector<fs::path> r;
    for (const auto& e : fs::directory_iterator(fs::u8path(VENTIX_RAIZ) / "examples"))
        if (e.path().extension() == ".aer")
            r.push_back(e.path());
    std::sort(r.begin(), r.end());
    return r;
}

inline std::vector<std::string> Con(std::vector<std::string> A, const std::vector<std::string>& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

class ConCarpeta : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("ventix_cli_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Runs the tool without a display or a platform, as on a server; Antes
    // goes before it in the shell (a limit), Salida replaces the capture of
    // standard output.
    TSalida Cli(const std::vector<std::string>& Args, const std::string& Antes = "",
                const std::string& Salida = "") {
        std::string orden = Antes + "env -u DISPLAY -u QT_QPA_PLATFORM '" VENTIX_CLI "'";
        for (const auto& a : Args)
            orden += " '" + a + "'";
        orden += " >" + (Salida.empty() ? "'" + (Dir / "out").string() + "'" : Salida) + " 2>'" +
                 (Dir / "err").string() + "'";
        const int s = std::system(("(" + orden + ")").c_str());
        TSalida r;
        r.Estado = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        r.Salida = Leer(Dir / "out");
        r.Errores = Leer(Dir / "err");
        fs::remove(Dir / "out");
        fs::remove(Dir / "err");
        return r;
    }
    std::string Ruta(const std::string& Nombre) const { return (Dir / Nombre).string(); }
    std::string Escribir(const std::string& Nombre, const std::string& Texto) const {
        std::ofstream(Dir / Nombre, std::ios::binary) << Texto;
        return Ruta(Nombre);
    }
    fs::path Dir;
};

} // namespace cli
