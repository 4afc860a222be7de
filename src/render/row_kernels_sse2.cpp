#include "render/row_kernels_simd.h"

namespace orva {

const RowKernels& Sse2Kernels() {
  static const RowKernels kernels = MakeSimdKernels("sse2");
  return kernels;
}

}  // namespace orva
