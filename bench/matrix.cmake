# matrix_bench: MatInv, MatDet, MatMultiply and SolutionEQs (Gauss) of the numerics library at
# n = 64, 256, 512 against single-threaded OpenBLAS/LAPACKE (sgetrf + sgetri, sgetrf, sgemm,
# sgesv) and a plain triple loop; MatEigenVV at 128 against ssyev. OpenBLAS and LAPACKE
# (libopenblas-dev, liblapacke-dev) are linked by this program only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(OPENBLAS IMPORTED_TARGET openblas)
pkg_check_modules(LAPACKE IMPORTED_TARGET lapacke)
if(OPENBLAS_FOUND AND LAPACKE_FOUND)
  add_executable(matrix_bench ${CMAKE_CURRENT_LIST_DIR}/matrix_bench.cpp)
  target_link_libraries(matrix_bench PRIVATE numora benchmark::benchmark PkgConfig::LAPACKE PkgConfig::OPENBLAS)
else()
  message(STATUS "matrix_bench skipped: libopenblas-dev and liblapacke-dev are needed")
endif()
