// ventix-cli grade FOLDER --expect SEQ --steps N: runs every circuit of a
// folder and says which perform the expected sequence.

#include "Circuito.h"
#include "Comando.h"
#include "Corrida.h"

#include "foundation/Archivo.h"

#include "foundation/Texto.h"

#include <QString>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace ventix::cli {

namespace {

namespace fs = std::filesystem;

// One circuit's line: name, check errors, observed sequence, verdict.
struct TNota {
    std::string Archivo;
    std::string Errores; // empty when the file could not be read
    std::string Observada;
    std::string Veredicto;
    bool Correcto = false;
};

TNota Calificar(const fs::path& Ruta, const TCorrida& C, const TSecuencia& Esperada,
                const std::string& Libreria) {
    TNota n;
    n.Archivo = Ruta.filename().string();
    TAerPaintBox lienzo;
    lienzo.Libreria.Cargar(RutaCatalogo(Libreria)); // checked once before the first file
    if (const auto error = LeerCircuito(lienzo, Ruta.string())) {
        n.Veredicto = "no se puede leer: " + error->Texto();
        return n;
    }
    const int errores = lienzo.Verificar();
    n.Errores = std::to_string(errores);
    if (errores != 0) {
        n.Veredicto = errores == 1 ? "el circuito tiene 1 error"
                                   : "el circuito tiene " + n.Errores + " errores";
        return n;
    }
    try {
        const auto red = Correr(lienzo, C);
        const TSecuencia observada = SecuenciaObservada(*red->Registro);
        n.Observada = TextoObservado(observada);
        const TComparacion c = Comparar(observada, Esperada);
        n.Correcto = c.Coincide;
        n.Veredicto = Veredicto(c, "correcto");
    } catch (const std::exception& e) {
        // A button the circuit lacks, or any failure of the run, marks this
        // circuit only.
        n.Veredicto = e.what();
    }
    return n;
}

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--steps", "--press", "--release", "--expect", "--csv"}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli grade: " << e.what() << "\n";
        return salidaUso;
    }
    const auto corrida = LeerCorrida(o, "grade");
    if (!corrida)
        return salidaUso;
    std::optional<std::string> textoEsperado, csv;
    for (const auto& [nombre, valor] : o.Valores) {
        if (nombre == "--expect")
            textoEsperado = valor;
        else if (nombre == "--csv")
            csv = valor;
    }
    if (o.Posicionales.size() != 1 || corrida->Pasos < 0 || !textoEsperado) {
        std::cerr
            << "Uso: ventix-cli grade CARPETA --expect \"SECUENCIA\" --steps N\n"
               "       [--press NOMBRE[:2]@K]... [--release NOMBRE[:2]@K]... [--csv SALIDA.csv]\n";
        return salidaUso;
    }
    TSecuencia esperada;
    try {
        auto leida = LeerSecuencia(*textoEsperado);
        for (const auto& a : leida.Avisos)
            std::cerr << "ventix-cli grade: aviso: " << a << "\n";
        esperada = std::move(leida.Secuencia);
    } catch (const ESecuencia& e) {
        std::cerr << "ventix-cli grade: secuencia esperada no válida: " << e.what() << "\n";
        return salidaUso;
    }
    const fs::path carpeta = fs::u8path(o.Posicionales[0]);
    std::error_code ec;
    if (!fs::is_directory(carpeta, ec)) {
        std::cerr << "ventix-cli grade: \"" << o.Posicionales[0] << "\" no es una carpeta\n";
        return salidaUso;
    }
    {
        TAerLibreria catalogo;
        if (!CargarCatalogo(catalogo, "grade", o.Libreria))
            return salidaUso;
    }
    std::vector<fs::path> archivos;
    for (const auto& e : fs::directory_iterator(carpeta, ec)) {
        QString ext = QString::fromStdString(e.path().extension().string()).toLower();
        if (ext == QStringLiteral(".aer") && !e.is_directory())
            archivos.push_back(e.path());
    }
    std::sort(archivos.begin(), archivos.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });

    std::vector<TNota> notas;
    int correctos = 0;
    for (const auto& a : archivos) {
        notas.push_back(Calificar(a, *corrida, esperada, o.Libreria));
        const TNota& n = notas.back();
        correctos += n.Correcto;
        std::cout << n.Archivo << "\t" << (n.Errores.empty() ? "-" : n.Errores) << "\t"
                  << (n.Observada.empty() ? "-" : n.Observada) << "\t" << n.Veredicto << "\n";
    }
    std::cout << correctos << " de " << archivos.size() << " correctos\n";

    if (csv) {
        std::string t = "archivo,errores,secuencia,veredicto\r\n";
        for (const auto& n : notas)
            t += CampoCsv(n.Archivo) + "," + n.Errores + "," + CampoCsv(n.Observada) + "," +
                 CampoCsv(n.Veredicto) + "\r\n";
        try {
            EscribirArchivo(fs::u8path(*csv), t);
        } catch (const std::exception& e) {
            std::cerr << "ventix-cli grade: " << e.what() << "\n";
            return salidaError;
        }
    }
    return correctos == static_cast<int>(archivos.size()) ? salidaBien : salidaError;
}

} // namespace

const TComando& ComandoGrade() {
    static const TComando c{
        "grade",
        "Comprueba la secuencia de todos los circuitos .aer de una carpeta.",
        "Uso: ventix-cli grade CARPETA --expect \"SECUENCIA\" --steps N\n"
        "       [--press NOMBRE[:2]@K]... [--release NOMBRE[:2]@K]... [--csv SALIDA.csv]\n"
        "       [--libreria RUTA]\n\n"
        "Simula cada circuito .aer de la carpeta, por orden de nombre, como sequence, y\n"
        "escribe una línea por archivo con cuatro campos separados por tabuladores:\n"
        "nombre, errores de la verificación (- si no se pudo leer), secuencia\n"
        "observada y veredicto (\"correcto\", la primera diferencia o el motivo por el\n"
        "que no se pudo leer o simular). Al final, \"N de M correctos\". Un archivo\n"
        "que no se lee o no pasa la verificación no detiene a los demás. --csv escribe\n"
        "lo mismo en CSV.\n\n"
        "Estado de salida: 0 si todos son correctos, 1 si alguno no lo es, 2 si los\n"
        "argumentos no son válidos o la secuencia esperada no se entiende.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
