// Compiled by CompileProbe.cmake with a library's own compile command: includes the header
// given as PROBE_HEADER, so the test learns whether that library may see it.
#include PROBE_HEADER
