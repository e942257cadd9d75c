# One id names the desktop entry, the icon and the metadata; the program
# learns its version and id from a generated header. Every build has it,
# with or without a backend; scripts/package reads the id from here.
set(ORVALIS_APP_ID org.orvalis.Orvalis)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
  ${PROJECT_BINARY_DIR}/generated/orvalis_version.h @ONLY)
