#pragma once
// The result window's "Optionen": the colours of its rows (decimal BGR keys of section
// "Optionen") beside the column switches the grid already has.
#include <string>
#include <vector>

#include "settings/program_options.h"
#include "settings/translate.h"

namespace twinex {

struct ColourOption {
  int ProgramOptions::*field;
  const char* key;  // in section "Optionen"
  TextRef label;
};

const std::vector<ColourOption>& ColourOptions();
std::string OptionsMenuTitle();
std::string ColumnsMenuTitle();
std::string ColoursMenuTitle();
// The factory colour of every key again.
std::string ResetColoursText();

// Takes the colour into the options and writes it to the settings file at once, so that a
// result window opened later shows it too; returns the write error or "".
std::string StoreColour(ProgramOptions& options, const ColourOption& option, int bgr, const std::string& file);
// Every colour back to its default; returns the first write error or "".
std::string ResetColours(ProgramOptions& options, const std::string& file);

// BGR as the settings keep it, and the red, green and blue parts a colour chooser takes.
inline int RgbToBgr(int r, int g, int b) { return (b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF); }

}  // namespace twinex
