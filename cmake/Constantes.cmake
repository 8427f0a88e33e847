# Turns the build's cache variables into one generated header of C++ constants.
function(echapper_chaine_c entree sortie)
  string(REPLACE "\\" "\\\\" valeur "${entree}")
  string(REPLACE "\"" "\\\"" valeur "${valeur}")
  set(${sortie} "${valeur}" PARENT_SCOPE)
endfunction()

foreach(nom VERSION_PROGRAMME EMAIL_SERVICE MOT_DE_PASSE_SERVICE CLE_EMETTEUR ADRESSE_API_PLATEFORME ADRESSE_PASSERELLE)
  echapper_chaine_c("${${nom}}" CONST_${nom})
endforeach()
if(NOT DELAI_RESEAU_MS MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "DELAI_RESEAU_MS must be a positive number of milliseconds")
endif()
configure_file(${CMAKE_SOURCE_DIR}/app/ConstantesConstruction.h.in
               ${CMAKE_BINARY_DIR}/generated/ConstantesConstruction.h @ONLY)
add_library(quelt_constantes INTERFACE)
target_include_directories(quelt_constantes INTERFACE ${CMAKE_BINARY_DIR}/generated)
