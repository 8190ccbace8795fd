// Where a program finds its example circuits: beside it while built, in its
// install prefix once installed.

#include "circuit/Libreria.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Rutas, ExamplesBesideTheProgramOrInItsPrefix) {
    const fs::path raiz = fs::temp_directory_path() / ("ventix_rutas_" + std::to_string(getpid()));
    const fs::path bin = raiz / "bin";
    fs::create_directories(bin);
    EXPECT_EQ(ventix::RutaEjemplos(bin), fs::path());

    fs::create_directories(raiz / "share/ventix/ejemplos");
    EXPECT_EQ(ventix::RutaEjemplos(bin), raiz / "share/ventix/ejemplos");
    // A folder beside the program wins, as for the catalogue.
    fs::create_directories(bin / "ejemplos");
    EXPECT_EQ(ventix::RutaEjemplos(bin), bin / "ejemplos");
    fs::remove_all(raiz);
}
