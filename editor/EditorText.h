// The face and sizes of the text the editor's own views draw.
#pragma once

inline constexpr const char* kEditorFontFamily = "Microsoft Sans Serif";
// Read-outs and the response's path, in pixels.
inline constexpr float kEditorTextSize = 10.0f;
// The processor warning, in pixels.
inline constexpr float kEditorWarningSize = 12.0f;
// Light grey on the dark face.
inline constexpr unsigned char kEditorTextGrey = 200;
