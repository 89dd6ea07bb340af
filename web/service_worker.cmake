# Writes the page's service worker OUTPUT from its TEMPLATE: the files it keeps, FILES (a list, separated by spaces,
# of files in FOLDER), and a version made from their contents. Run by the web build, and by a scenario that makes a
# new release of a page: cmake -DTEMPLATE=... -DOUTPUT=... -DFOLDER=... -DFILES="..." -P service_worker.cmake
separate_arguments(FILES)
set(hashes "")
set(quoted "")
foreach(name IN LISTS FILES)
  file(SHA256 "${FOLDER}/${name}" hash)
  string(APPEND hashes "${hash}")
  list(APPEND quoted "'${name}'")
endforeach()
string(SHA256 VERSION "${hashes}")
string(SUBSTRING "${VERSION}" 0 16 VERSION)
list(JOIN quoted ", " FILES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
