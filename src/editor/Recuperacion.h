#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace ventix {

// The recovery files of unsaved circuits, in a folder of the user's data.
// Each window writes its own file, "recuperacion-N.aer", and holds the lock
// "recuperacion-N.lock" while it runs, so two windows never share one and a
// file whose lock nobody holds was left by a window that did not close
// cleanly (a crash, a power cut).
class TRecuperacion {
public:
    // The user's data folder when Carpeta is empty.
    explicit TRecuperacion(QString Carpeta = {});
    ~TRecuperacion();

    // The files left behind by windows that are gone; their locks are taken,
    // so that no other window offers them too.
    QStringList Abandonados();
    // Removes a file left behind and gives its lock up.
    void Descartar(const QString& Archivo);

    // Writes this window's file at once and whole (never half a file).
    void Escribir(const std::vector<std::string>& Lineas);
    // Removes this window's file (a clean exit, or nothing unsaved).
    void Quitar();
    // This window's file, made on its first write.
    QString Archivo() const { return Propio; }
    const QString& GetCarpeta() const { return Carpeta; }

private:
    QString Ruta(int N, const char* Extension) const;
    QString Carpeta;
    QString Propio;
    std::unique_ptr<QLockFile> Cerrojo;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> Ajenos;
};

} // namespace ventix
