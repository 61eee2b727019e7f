# What every zenolith build shares, included right after project() by the
# root CMakeLists.txt and by algorithms/CMakeLists.txt: Release by default,
# C++17, the interpreter, pybind11, the geometry library and Boost.
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

find_package(Python 3.12 EXACT REQUIRED COMPONENTS Interpreter Development.Module)
find_package(pybind11 CONFIG REQUIRED)
# No GMP/MPFR number types by default: the core uses only the double-based
# Cartesian kernel; the companion and the algorithm families opt in on their
# own targets (CGAL_NO_GMP=0) for their exact predicates.
set(CGAL_DISABLE_GMP ON)
set(CGAL_DO_NOT_WARN_ABOUT_CMAKE_BUILD_TYPE ON)
# Newer kernels look for Boost from their own scope; use Boost's config file.
set(CMAKE_POLICY_DEFAULT_CMP0167 NEW)
find_package(CGAL REQUIRED)
find_package(Boost REQUIRED)
