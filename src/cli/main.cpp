// ventix-cli: the headless tool. Dispatches to one subcommand by name.

#include "Comando.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>

using namespace ventix::cli;

namespace {

const TComando* const Comandos[] = {
    &ComandoDxf(),      &ComandoFormat(),   &ComandoRender(),   &ComandoCheck(),
    &ComandoSimulate(), &ComandoLibreria(), &ComandoSimbolos(), &ComandoSequence(),
    &ComandoDiagram(),  &ComandoGrade(),
};

void Uso(std::ostream& S) {
    S << "Uso: ventix-cli <orden> [argumentos]\n"
         "     ventix-cli <orden> --help\n\n"
         "Órdenes:\n";
    for (const auto* c : Comandos)
        S << "  " << c->Nombre << std::string(10 - std::string(c->Nombre).size(), ' ') << c->Resumen
          << "\n";
}

// Standard error carries the tool's own messages only: what Qt has to say
// (a missing runtime folder, font warnings) is no business of the user's.
void SilenciarQt(QtMsgType, const QMessageLogContext&, const QString&) {}

// The tool never opens a window: without a platform chosen by the user it
// takes the offscreen one, which needs no display. Fonts still come from
// fontconfig there. Must run before any Qt object is made.
void PrepararQt() {
    const char* plataforma = std::getenv("QT_QPA_PLATFORM");
    if (!plataforma || !*plataforma)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(SilenciarQt);
}

// Everything written to standard output reached it; false after a message
// when it did not (a full disk, a closed pipe).
bool SalidaEscrita(const char* Orden) {
    std::cout.flush();
    const bool bien = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!bien)
        std::cerr << "ventix-cli " << Orden << ": no se ha podido escribir la salida estándar\n";
    return bien;
}

int Ejecutar(const TComando& C, const std::vector<std::string>& Args) {
    try {
        // Texts and symbols need fonts, which need a GUI application.
        static int argc = 1;
        static char nombre[] = "ventix-cli";
        static char* argv[] = {nombre, nullptr};
        QGuiApplication app(argc, argv);
        return C.Ejecutar(Args);
    } catch (const std::bad_alloc& e) {
        const std::string m = e.what();
        std::cerr << "ventix-cli " << C.Nombre << ": "
                  << (m.rfind("No hay memoria", 0) == 0 ? m
                                                        : "No hay memoria suficiente para la orden")
                  << "\n";
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli " << C.Nombre << ": " << e.what() << "\n";
    }
    return salidaError;
}

} // namespace

int main(int argc, char** argv) {
    PrepararQt();
    // Past a file-size limit a write fails with an error instead of ending
    // the process, so the old file is kept and the user is told.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        Uso(std::cerr);
        return salidaUso;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        Uso(std::cout);
        return SalidaEscrita("--help") ? salidaBien : salidaError;
    }
    for (const auto* c : Comandos) {
        if (args[0] != c->Nombre)
            continue;
        args.erase(args.begin());
        if (PideAyuda(args)) {
            std::cout << c->Ayuda;
            return SalidaEscrita(c->Nombre) ? salidaBien : salidaError;
        }
        const int estado = Ejecutar(*c, args);
        return SalidaEscrita(c->Nombre) ? estado : salidaError;
    }
    std::cerr << "ventix-cli: orden desconocida \"" << args[0] << "\".\n\n";
    Uso(std::cerr);
    return salidaUso;
}
