# Writes the text file IN into the C++ source OUT as the string
# vantaro_cli::kBuiltinComponents.
file(READ ${IN} content)
set(delim "VTCSV")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n"
  "namespace vantaro_cli {\nextern const char* const kBuiltinComponents;\n"
  "const char* const kBuiltinComponents = R\"${delim}(${content})${delim}\";\n}\n")
