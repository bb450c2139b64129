# cmake -DOUTPUT=file.cpp -DDIR=folder -DLANGUAGES="de;es" -P embed_catalogues.cmake
# Writes the compiled catalogues (DIR/LANGUAGE.mo) into a source file, as byte arrays that the
# program carries, with the function that finds them by language.
set(arrays "")
set(cases "")
foreach(language IN LISTS LANGUAGES)
  file(READ ${DIR}/${language}.mo hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "alignas(4) constexpr unsigned char k_${language}[${size}] = {\n    ${bytes}};\n\n")
  string(APPEND cases "  if (language == \"${language}\") {\n    return {reinterpret_cast<const char*>(k_${language}), sizeof k_${language}};\n  }\n")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by cmake/embed_catalogues.cmake from the compiled catalogues.\n"
  "#include \"support/translation_choice.h\"\n\nnamespace varnock {\n\nnamespace {\n\n${arrays}}  // namespace\n\n"
  "std::string_view EmbeddedCatalogue(std::string_view language) {\n${cases}  return {};\n}\n\n}  // namespace varnock\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
