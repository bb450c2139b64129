# cmake -DOUTPUT=FILE -DFILES=NAME;... -P sha256sums.cmake, run in the files' folder: writes
# their SHA-256 sums in the form "sha256sum -c" reads.
set(text "")
foreach(name IN LISTS FILES)
  file(SHA256 ${name} sum)
  string(APPEND text "${sum}  ${name}\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
