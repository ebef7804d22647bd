# `make package`: a Debian package of the installed tree, built from a Release
# build configured with the prefix /usr.

# The maker's texts have one home, the string table; read from there.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/strings.h TABULON_MAKER_LINES REGEX "k(SoftwarePage|MailAddress|Author) =")
foreach(line ${TABULON_MAKER_LINES})
    string(REGEX MATCH "k([A-Za-z]+) = \"([^\"]*)\"" _ "${line}")
    set(TABULON_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VENDOR "${TABULON_Author}")
set(CPACK_PACKAGE_CONTACT "${TABULON_Author} <${TABULON_MailAddress}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Tabulon turns a set of files into a block of text, by default an HTML
table, from templates with placeholders for each file's name, path, size,
picture size or contents. It comes as a window (tabulon), a batch program for
scripts (tabulon-cli) and a host for editors that insert its lists
(tabulon-host).")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# The binaries lose their symbols; Release carries no debugging information anyway.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TABULON_SoftwarePage}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps works out the libraries, the dlopen'd modules' (libvips, Exiv2,
# ICU) and the decoder's (libseccomp) included; the modules themselves are ours
# and private, not a library another package could need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_FULL_LIBDIR}/tabulon)

# Debian's documentation files, and the manuals compressed as Debian wants
# them: added to the package's tree only, so `make install` stays as it is.
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.Debian.in
               ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
set(CPACK_TABULON_CHANGELOG ${CMAKE_BINARY_DIR}/debian/changelog.Debian)
set(CPACK_TABULON_COPYRIGHT ${PROJECT_SOURCE_DIR}/resources/debian/copyright)
set(CPACK_TABULON_DATADIR ${CMAKE_INSTALL_DATADIR})
set(CPACK_TABULON_MANDIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianFiles.cmake)

include(CPack)
