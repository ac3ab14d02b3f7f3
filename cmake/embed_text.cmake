# Writes the text file IN into the C++ source OUT as the string NAMESPACE::NAME
# (by default vantaro_cli::kBuiltinComponents).
if(NOT DEFINED NAMESPACE)
  set(NAMESPACE vantaro_cli)
endif()
if(NOT DEFINED NAME)
  set(NAME kBuiltinComponents)
endif()
file(READ ${IN} content)
set(delim "VTCSV")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n"
  "namespace ${NAMESPACE} {\nextern const char* const ${NAME};\n"
  "const char* const ${NAME} = R\"${delim}(${content})${delim}\";\n}\n")
