// Compiled with -mavx2; reached only through Avx2Kernels() after the processor check.
#define ORVA_SIMD_AVX2 1
#include "render/row_kernels_simd.h"

namespace orva {

const RowKernels& Avx2Kernels() {
  static const RowKernels kernels = MakeSimdKernels("avx2");
  return kernels;
}

}  // namespace orva
