#include "Circuito.h"

#include "files/ArchivoAer.h"
#include "foundation/Archivo.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace ventix::cli {

TOpciones LeerOpciones(const std::vector<std::string>& Args,
                       const std::vector<std::string>& ConValor,
                       const std::vector<std::string>& SinValor) {
    TOpciones r;
    auto en = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    std::vector<std::string> vistas;
    for (std::size_t i = 0; i < Args.size(); ++i) {
        const std::string& a = Args[i];
        if (a == "--libreria" || en(ConValor, a) || en(SinValor, a)) {
            // Button events come one per option; any other option once.
            if (en(vistas, a) && a != "--press" && a != "--release")
                throw std::invalid_argument("la opción " + a + " aparece más de una vez");
            vistas.push_back(a);
        }
        if (a == "--libreria" || en(ConValor, a)) {
            if (i + 1 >= Args.size())
                throw std::invalid_argument("falta el valor de " + a);
            if (a == "--libreria")
                r.Libreria = Args[++i];
            else
                r.Valores.emplace_back(a, Args[++i]);
        } else if (en(SinValor, a)) {
            r.Banderas.push_back(a);
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::invalid_argument("opción desconocida " + a);
        } else {
            r.Posicionales.push_back(a);
        }
    }
    return r;
}

std::filesystem::path RutaCatalogo(const std::string& Libreria) {
    std::filesystem::path catalogo =
        Libreria.empty() ? RutaCatalogoPorDefecto() : std::filesystem::u8path(Libreria);
    if (std::filesystem::is_directory(catalogo))
        catalogo /= std::filesystem::u8path("LIBRERÍA.txt");
    return catalogo;
}

std::string UnaLinea(std::string Texto) {
    for (std::size_t p; (p = Texto.find("\r\n")) != std::string::npos;)
        Texto.replace(p, 2, " ");
    for (char& c : Texto)
        if (c == '\n' || c == '\r')
            c = ' ';
    return Texto;
}

bool CargarCatalogo(TAerLibreria& Catalogo, const std::string& Orden, const std::string& Libreria) {
    Catalogo.Cargar(RutaCatalogo(Libreria));
    for (const auto& p : Catalogo.Problemas)
        std::cerr << "ventix-cli " << Orden << ": catálogo: " << UnaLinea(p) << "\n";
    return Catalogo.Problemas.empty();
}

std::optional<TErrorLectura> LeerCircuito(TAerPaintBox& L, const std::string& Archivo) {
    try {
        // The file is read in blocks and each line decoded as the reader
        // comes to it: a large circuit's text is never held whole while the
        // circuit is built.
        const TLineasArchivo lineas(std::filesystem::u8path(Archivo));
        L.BorrarCircuito();
        ArchivoAer::Leer(L, lineas);
    } catch (const ELecturaAer& e) {
        return TErrorLectura{e.Linea, e.Motivo};
    } catch (const std::exception& e) {
        return TErrorLectura{0, e.what()};
    }
    return std::nullopt;
}

bool CargarCircuito(TAerPaintBox& L, const std::string& Orden, const std::string& Archivo,
                    const std::string& Libreria) {
    if (!CargarCatalogo(L.Libreria, Orden, Libreria))
        return false;
    if (const auto error = LeerCircuito(L, Archivo)) {
        std::cerr << "ventix-cli " << Orden << ": " << Archivo << (error->Linea > 0 ? ", " : ": ")
                  << error->Texto() << "\n";
        return false;
    }
    return true;
}

std::optional<int> Entero(const std::string& Texto) {
    int v = 0;
    auto r = std::from_chars(Texto.data(), Texto.data() + Texto.size(), v);
    if (Texto.empty() || r.ec != std::errc() || r.ptr != Texto.data() + Texto.size())
        return std::nullopt;
    return v;
}

} // namespace ventix::cli
