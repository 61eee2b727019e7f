# What every zenolith build shares, included right after project() by the
# root CMakeLists.txt and by algorithms/CMakeLists.txt: Release by default,
# C++17, the interpreter, pybind11, the geometry library and Boost, the
# compiler cache and the optimisation level of every extension.
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

# A compiler cache, where the machine has one, turns a rebuild from an empty
# build directory into cache hits. The precompiled header is part of every
# compile, so the cache must accept its defines and timestamps.
find_program(ZENOLITH_CCACHE ccache)
if(ZENOLITH_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${ZENOLITH_CCACHE})
endif()

# -O3 everywhere; the sanitizer build (scripts/sanitize.sh) asks for -O1,
# which halves its compile time and keeps its reports readable.
set(ZENOLITH_OPTIMIZATION "-O3" CACHE STRING "Optimisation level of every extension")
