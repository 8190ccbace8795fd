#include "Circuito.h"
#include "Comando.h"

#include "cad/Libreria.h"
#include "circuit/Libreria.h"
#include "circuit/TipoComponente.h"

#include <iostream>

namespace ventix::cli {

namespace {

const char* const kAyuda =
    "Uso: ventix-cli library [--libreria RUTA]\n\n"
    "Carga el catálogo de componentes (por omisión Librerías/LIBRERÍA.txt junto al\n"
    "programa) y escribe una línea por tipo: librería de símbolos, símbolo, bloques y\n"
    "puntos de conexión; después, una línea por cada problema encontrado.\n"
    "--libreria RUTA  catálogo de componentes (LIBRERÍA.txt o su carpeta).\n\n"
    "Estado de salida: 0 sin problemas, 1 con problemas, 2 si el catálogo no se\n"
    "puede leer o los argumentos no son válidos.\n";

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli library: " << e.what() << "\n";
        return salidaUso;
    }
    if (!o.Posicionales.empty()) {
        std::cerr << "ventix-cli library: sobra el argumento \"" << o.Posicionales[0] << "\"\n"
                  << "Uso: ventix-cli library [--libreria RUTA]\n";
        return salidaUso;
    }
    TAerLibreria libreria;
    libreria.Cargar(RutaCatalogo(o.Libreria));
    // A catalogue that cannot be read has no types to list.
    if (!libreria.Leido) {
        std::cerr << "ventix-cli library: " << libreria.Problemas.front() << "\n";
        return salidaUso;
    }
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

const TComando& ComandoLibreria() {
    static const TComando c{"library", "comprueba el catálogo de componentes y sus símbolos",
                            kAyuda, &Ejecutar};
    return c;
}

} // namespace ventix::cli
