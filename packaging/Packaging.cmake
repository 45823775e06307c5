# Debian packages: `cpack -G DEB` in the build folder makes three.
#   libkrmlreportgen<soversion>  the shared library
#   libkrmlreportgen-dev         headers, CMake package, pkg-config file, the
#                                Qt Designer plugin and the API documentation
#   krml-reportgen               reportgen and reportdesigner with their manual
#                                pages, the desktop entry, the .lrd MIME type
#                                and the icon
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for Debian's library folders
# (lib/<multiarch>); the packages install under /usr either way.
set(KRML_PACKAGE_CONTACT "KRML ReportGen developers <reportgen@krml.invalid>" CACHE STRING "Maintainer of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME krml-reportgen)
set(CPACK_PACKAGE_VENDOR KRML)
set(CPACK_PACKAGE_CONTACT ${KRML_PACKAGE_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
if(KRML_BUILD_PROGRAMS)
  list(APPEND CPACK_COMPONENTS_ALL programs)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libkrmlreportgen${KRML_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig trigger.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
  "KRML ReportGen control library\n The report designer and report generator as one embeddable Qt 6 control,\n ReportGenOCX: layouts with fixed texts, data fields, formulas and pictures on\n a page, the SQL editor, the data connection wizards, preview and printing.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libkrmlreportgen-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# The Designer plugin links only the library and Qt, which the library's
# package brings.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev (>= 6.4)")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "KRML ReportGen control library (development files)\n Headers (<KRMLReportGen/ReportGenOCX.h>), the CMake package\n (find_package(KRMLReportGen), target KRML::ReportGen), a pkg-config file,\n the Qt Designer plugin and the API documentation.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME krml-reportgen)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION
  "KRML ReportGen report designer and renderer\n reportdesigner designs report layouts (.lrd packages) on a database;\n reportgen renders them to PDF, PNG, SVG, Excel workbooks, web pages or CSV\n without a window.")

include(CPack)
