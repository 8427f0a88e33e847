# cmake -DADRESSE=... -P verifier_adresse.cmake: fails exactly when the build would refuse ADRESSE.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Adresses.cmake)
set(ADRESSE_TESTEE "${ADRESSE}")
verifier_adresse_base(ADRESSE_TESTEE)
