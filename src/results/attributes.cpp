// Attribute letters ("attr2") and their tooltip, from one table of bits in display order.
#include <string>

#include "results/result_tree.h"
#include "settings/translate.h"

namespace twinex {

namespace {

struct AttributeLetter {
  std::uint32_t bit;
  char letter;
  TextRef name;
};

const AttributeLetter kLetters[] = {
    {0x20, 'A', TextRef{13000, "Archiv"}},
    {0x800, 'C', TextRef{13001, "Komprimiert"}},
    {0x10, 'D', TextRef{13002, "Verzeichnis"}},
    {0x4000, 'E', TextRef{13003, "Verschlüsselt"}},
    {0x2, 'H', TextRef{13004, "Versteckt"}},
    {0x2000, 'I', TextRef{13005, "Nicht indiziert"}},
    {0x400, 'L', TextRef{13006, "Symbolischer Link"}},
    {0x80, 'N', TextRef{13007, "Normal"}},
    {0x1000, 'O', TextRef{13008, "Offline"}},
    {0x200, 'P', TextRef{13009, "Sparse"}},
    {0x1, 'R', TextRef{13010, "Schreibgeschützt"}},
    {0x4, 'S', TextRef{13011, "System"}},
    {0x100, 'T', TextRef{13012, "Temporär"}},
    {0x10000, 'V', TextRef{13013, "Virtuell"}},
};

}  // namespace

std::string AttributeLetters(std::uint32_t attributes) {
  std::string out;
  for (const AttributeLetter& a : kLetters)
    if (attributes & a.bit) out.push_back(a.letter);
  return out;
}

std::string AttributeTooltip(std::uint32_t attributes) {
  std::string out;
  for (const AttributeLetter& a : kLetters) {
    if (!(attributes & a.bit)) continue;
    if (!out.empty()) out.push_back('\n');
    out.push_back(a.letter);
    out += ": " + z_Translate(a.name);
  }
  return out;
}

}  // namespace twinex
