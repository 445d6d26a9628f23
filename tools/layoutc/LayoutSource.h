#pragma once
// Reading a hand-written layout: UTF-8 text with binary directives,
//   @png('x.png')          the file's bytes
//   @picture('bitmaps/pictures/TMainForm.ImagePL.png')
//                          a picture's "Data": the graphic class name "TBitmap" as a
//                          short string, a uint32 LE length, the PNG bytes
//   @imagelist('bitmaps/TMainForm.ImageListTab')
//                          the image-list block of 0.png, 1.png, ...
// (paths relative to the base folder). Each directive becomes a {hex} value
// on the same line, so line numbers stay those of the file; then the whole
// text is converted to Windows-1250.
#include "Diagnostics.h"

#include <string>
#include <vector>

struct TLayoutSource {
    std::string Text;                       // Windows-1250, the file's lines
    std::vector<std::string> Dependencies;  // files and folders the directives read
};

// Faults of the text (characters 1250 lacks) go to Diag, all of them;
// a file that cannot be read or a bad directive raises ELayoutError.
TLayoutSource ReadLayoutSource(const std::string& Path, const std::string& BaseDir, TDiagnostics& Diag);

// The image-list block: uint32 LE count, then per image uint32 LE length and
// the PNG bytes, from the files 0.png, 1.png, ... of Folder without a gap.
// Throws std::runtime_error with the reason.
std::string BuildImageList(const std::string& Folder, std::vector<std::string>& Dependencies);
// The bytes of a PNG file (checked by its signature).
std::string ReadPng(const std::string& File);
// TPicture's stored form of a bitmap holding the PNG.
std::string PictureData(const std::string& Png);

// The whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& Path, std::string& Bytes);
