#include "circuit/Libreria.h"

#include "foundation/Ini.h"

#include <system_error>

namespace ventix {

namespace {

constexpr int kPrimerTipo = 1;
constexpr int kUltimoTipo = 30;
// Sane bounds for the counts a catalogue declares: a larger one is a broken
// file, and looping up to it would hang the program.
constexpr int kMaximoLibrerias = 1000;
constexpr int kMaximoConexiones = 64;

std::string NombreDe(TTipoComponente Tipo) {
    return std::string(NombreTipo(Tipo));
}

} // namespace

TAerLibreria::TAerLibreria(TAerPaintBox* Lienzo) : Lienzo(Lienzo), Entradas(TParametros::Clase()) {}

void TAerLibreria::Cargar(const std::filesystem::path& Ruta) {
    Carpeta = Ruta.parent_path();
    const TArchivoIni ini(Ruta);
    Leido = ini.Leido();
    if (!ini.Leido()) {
        std::error_code ec;
        Problemas.push_back(std::filesystem::exists(Ruta, ec)
                                ? "No se puede leer el catálogo de componentes: " + ini.GetError()
                                : "No se encuentra el catálogo de componentes \"" + Ruta.string() +
                                      "\"");
    }

    int total = ini.ReadInteger("MAIN", "Total", 0);
    if (total > kMaximoLibrerias) {
        Problemas.push_back("El catálogo declara " + std::to_string(total) +
                            " librerías de símbolos (\"Total\"); el máximo es " +
                            std::to_string(kMaximoLibrerias));
        total = 0;
    }
    for (int i = 1; i <= total; ++i) {
        const std::string archivo = ini.ReadString("MAIN", "Lib" + std::to_string(i), "ERROR");
        auto* libreria = static_cast<TCADLibreria*>(Estanteria.Librerias.Nuevo());
        try {
            libreria->Cargar((Carpeta / std::filesystem::u8path(archivo)).string());
        } catch (const std::exception& e) {
            // One broken library must not leave the editor without the others.
            Problemas.push_back("No se ha podido cargar la librería de símbolos \"" + archivo +
                                "\":\r\n" + e.what());
            delete libreria;
        }
    }

    for (int t = kPrimerTipo; t <= kUltimoTipo; ++t)
        CargarEntrada(ini, static_cast<TTipoComponente>(t));
    if (!ini.Leido())
        return; // one problem says it all
    for (int t = kPrimerTipo; t <= kUltimoTipo; ++t)
        ComprobarSimbolo(static_cast<TTipoComponente>(t));
}

void TAerLibreria::CargarEntrada(const TArchivoIni& Ini, TTipoComponente Tipo) {
    const std::string seccion = NombreDe(Tipo);
    auto entrada = std::make_unique<TParametros>();
    entrada->SetNombre(seccion);
    auto* e = static_cast<TParametros*>(Entradas.Agregar(std::move(entrada)));
    e->Agregar("LIBRERÍA").SetTexto(Ini.ReadString(seccion, "LIBRERÍA", "ERROR"));
    e->Agregar("COMPONENTE").SetEntero(Ini.ReadInteger(seccion, "COMPONENTE", -1));
    for (const char* clave : {"Parámetro", "LinkX", "LinkY"})
        e->Agregar(clave).SetReal(Ini.ReadFloat(seccion, clave, 0.0));
    int n = Ini.ReadInteger(seccion, "Conexiones", 0);
    if (n > kMaximoConexiones) {
        Problemas.push_back("El tipo \"" + seccion + "\" declara " + std::to_string(n) +
                            " puntos de conexión; el máximo es " +
                            std::to_string(kMaximoConexiones));
        n = 0;
    }
    e->Agregar("Conexiones").SetEntero(n);
    for (int i = 1; i <= n; ++i) {
        const std::string k = std::to_string(i);
        e->Agregar("ConexiónX" + k).SetReal(Ini.ReadFloat(seccion, "ConexiónX" + k, 0.0));
        e->Agregar("ConexiónY" + k).SetReal(Ini.ReadFloat(seccion, "ConexiónY" + k, 0.0));
        e->Agregar("TipoConexión" + k).SetEntero(Ini.ReadInteger(seccion, "TipoConexión" + k, 10));
    }
}

void TAerLibreria::ComprobarSimbolo(TTipoComponente Tipo) {
    const TParametros* e = GetEntrada(Tipo);
    const std::string nombre = e->Param("LIBRERÍA").AsTexto();
    const int posicion = e->Param("COMPONENTE").AsEntero();
    const auto* libreria = static_cast<TCADLibreria*>(Estanteria.Librerias.Buscar(nombre));
    if (!libreria) {
        Problemas.push_back("El tipo \"" + NombreDe(Tipo) + "\" usa la librería de símbolos \"" +
                            nombre + "\", que no existe");
        return;
    }
    if (posicion < 1 || posicion > libreria->Componentes.Count())
        Problemas.push_back("El tipo \"" + NombreDe(Tipo) + "\" usa el símbolo " +
                            std::to_string(posicion) + " de la librería \"" + nombre +
                            "\", que tiene " + std::to_string(libreria->Componentes.Count()));
}

TParametros* TAerLibreria::GetEntrada(TTipoComponente Tipo) const {
    const int t = NumeroTipo(Tipo);
    if (t < kPrimerTipo || t > kUltimoTipo)
        return nullptr;
    return static_cast<TParametros*>(Entradas.Buscar(NombreDe(Tipo)));
}

TCADComponente* TAerLibreria::GetSimbolo(TTipoComponente Tipo) const {
    const TParametros* e = GetEntrada(Tipo);
    if (!e)
        return nullptr;
    const auto* libreria =
        static_cast<TCADLibreria*>(Estanteria.Librerias.Buscar(e->Param("LIBRERÍA").AsTexto()));
    const int posicion = e->Param("COMPONENTE").AsEntero();
    if (!libreria || posicion < 1 || posicion > libreria->Componentes.Count())
        return nullptr;
    return static_cast<TCADComponente*>(libreria->Componentes.Item(posicion - 1));
}

double TAerLibreria::GetParametro(TTipoComponente Tipo) const {
    const TParametros* e = GetEntrada(Tipo);
    return e ? e->Param("Parámetro").AsReal() : 0.0;
}

double TAerLibreria::GetLinkX(TTipoComponente Tipo) const {
    const TParametros* e = GetEntrada(Tipo);
    return e ? e->Param("LinkX").AsReal() : 0.0;
}

double TAerLibreria::GetLinkY(TTipoComponente Tipo) const {
    const TParametros* e = GetEntrada(Tipo);
    return e ? e->Param("LinkY").AsReal() : 0.0;
}

int TAerLibreria::GetConexiones(TTipoComponente Tipo) const {
    const TParametros* e = GetEntrada(Tipo);
    return e ? e->Param("Conexiones").AsEntero() : 0;
}

TAerLibreria::TPuntoConexion TAerLibreria::GetConexion(TTipoComponente Tipo, int i) const {
    const TParametros* e = GetEntrada(Tipo);
    if (!e || i < 1 || i > GetConexiones(Tipo))
        return {};
    const std::string k = std::to_string(i);
    return {e->Param("ConexiónX" + k).AsReal(), e->Param("ConexiónY" + k).AsReal(),
            e->Param("TipoConexión" + k).AsEntero()};
}

std::filesystem::path RutaCatalogoPorDefecto() {
    std::error_code ec;
    const auto programa = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto carpeta = ec ? std::filesystem::current_path() : programa.parent_path();
    const auto junto = carpeta / std::filesystem::u8path("Librerías/LIBRERÍA.txt");
    if (std::filesystem::exists(junto))
        return junto;
    const auto instalado =
        carpeta / std::filesystem::u8path("../share/ventix/Librerías/LIBRERÍA.txt");
    if (std::filesystem::exists(instalado))
        return instalado.lexically_normal();
    return junto;
}

std::filesystem::path RutaEjemplos(const std::filesystem::path& Carpeta) {
    std::error_code ec;
    for (const char* r : {"ejemplos", "../share/ventix/ejemplos"}) {
        const auto ruta = (Carpeta / r).lexically_normal();
        if (std::filesystem::is_directory(ruta, ec))
            return ruta;
    }
    return {};
}

std::filesystem::path RutaEjemplosPorDefecto() {
    std::error_code ec;
    const auto programa = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : RutaEjemplos(programa.parent_path());
}

} // namespace ventix
