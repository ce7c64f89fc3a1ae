# Writes OUTPUT, a C++ file holding the text of INPUT (the design file) as one string, so that
# the program draws the designs without reading a file: cmake -DINPUT=… -DOUTPUT=… -P this.
file(READ ${INPUT} text)
if(text MATCHES "\\)designs\"")
  message(FATAL_ERROR "${INPUT} holds the string's closing mark )designs\"")
endif()
file(WRITE ${OUTPUT}.new
  "// Made by the build from src/catalog/data/designs.txt: edit that file, not this one.\n"
  "#include <string_view>\n\n"
  "namespace tavrel {\n\n"
  "extern const std::string_view kDesignFileText;\n"
  "const std::string_view kDesignFileText = R\"designs(${text})designs\";\n\n"
  "}  // namespace tavrel\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
