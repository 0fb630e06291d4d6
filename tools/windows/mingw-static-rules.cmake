# Read after CMake's Windows-GNU rules, which would prefer .dll.a import libraries: static archives only.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
