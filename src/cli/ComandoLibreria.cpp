#include "Comando.h"

#include "cad/Libreria.h"
#include "circuit/Libreria.h"
#include "circuit/TipoComponente.h"

#include <QGuiApplication>

#include <iostream>

namespace ventix::cli {

namespace {

const char* const kAyuda =
    "Uso: ventix-cli library [--libreria RUTA]\n\n"
    "Carga el catálogo de componentes (por omisión Librerías/LIBRERÍA.txt junto al\n"
    "programa) y escribe una línea por tipo: librería de símbolos, símbolo, bloques y\n"
    "puntos de conexión; después, una línea por cada problema encontrado.\n"
    "Estado de salida: 0 sin problemas, 1 con problemas, 2 uso incorrecto.\n";

int Ejecutar(const std::vector<std::string>& Args) {
    std::filesystem::path ruta = RutaCatalogoPorDefecto();
    if (!LeerOpcionLibreria(Args, ruta))
        return salidaUso;
    int argc = 1;
    char nombre[] = "ventix-cli";
    char* argv[] = {nombre, nullptr};
    QGuiApplication app(argc, argv); // symbol texts need fonts

    TAerLibreria libreria;
    libreria.Cargar(ruta);
    for (int t = 1; t <= 30; ++t) {
        const auto tipo = static_cast<TTipoComponente>(t);
        const TParametros* e = libreria.GetEntrada(tipo);
        const TCADComponente* s = libreria.GetSimbolo(tipo);
        std::cout << NombreTipo(tipo) << "\tlibrería \"" << e->Param("LIBRERÍA").AsTexto()
                  << "\"\tsímbolo " << e->Param("COMPONENTE").AsEntero() << " \""
                  << (s ? s->GetNombre() : "") << "\"\tbloques " << (s ? s->Bloques.Count() : 0)
                  << "\tconexiones " << libreria.GetConexiones(tipo) << "\n";
    }
    for (const auto& p : libreria.Problemas)
        std::cout << "Problema: " << p << "\n";
    return libreria.Problemas.empty() ? salidaBien : salidaError;
}

} // namespace

bool LeerOpcionLibreria(const std::vector<std::string>& Args, std::filesystem::path& Ruta) {
    for (std::size_t i = 0; i < Args.size(); ++i) {
        if (Args[i] == "--libreria" && i + 1 < Args.size()) {
            Ruta = std::filesystem::u8path(Args[++i]);
        } else if (Args[i] == "--libreria") {
            std::cerr << "ventix-cli: falta la ruta tras --libreria.\n";
            return false;
        }
    }
    return true;
}

const TComando& ComandoLibreria() {
    static const TComando c{"library", "comprueba el catálogo de componentes y sus símbolos",
                            kAyuda, &Ejecutar};
    return c;
}

} // namespace ventix::cli
