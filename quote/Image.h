#pragma once

#include <QString>

namespace Image {

// Decoded pictures larger than this are refused (a picture bomb), in megabytes.
inline constexpr int LimiteAllocationMo = 64;

} // namespace Image

// Saves the Base64 picture (PNG, JPEG, BMP…) as a Windows bitmap of the same size
// at chemin. False, writing nothing, for an empty path. Line breaks in the Base64
// text are ignored; anything else outside the alphabet, or data that is no
// picture, throws Erreur and leaves no file. The file is replaced atomically.
bool EnregistrerImage(const QString& chemin, const QString& base64);
