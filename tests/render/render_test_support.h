#pragma once
// Helpers shared by the surface tests: surfaces with given or random contents, pixel dumps, and a
// scope that selects the drawing path.

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "render/dibx.h"
#include "render/row_kernels.h"

namespace orva::test {

std::unique_ptr<TDIBX> MakeSurface(int32_t width, int32_t height, int32_t bits, uint32_t fill = 0);
// Every pixel a random native value of the surface's depth (8-bit: mask-like values, often 0 or 255).
void Randomize(TCustomDIBX& surface, std::mt19937& random);
std::vector<uint32_t> Pixels(const TCustomDIBX& surface);

class PathScope {
 public:
  explicit PathScope(PixelPath path) : saved_(CurrentPixelPath()) { SetPixelPath(path); }
  ~PathScope() { SetPixelPath(saved_); }

 private:
  PixelPath saved_;
};

}  // namespace orva::test
