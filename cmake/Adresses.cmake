# Service credentials never travel in clear: a base address must be https,
# or plain http to this machine's loopback only (the sandbox).
function(verifier_adresse_base variable)
  set(adresse "${${variable}}")
  if(adresse MATCHES "^https://[^/]+$")
    return()
  endif()
  if(adresse MATCHES "^http://(127\\.[0-9]+\\.[0-9]+\\.[0-9]+|localhost|\\[::1\\])(:[0-9]+)?$")
    return()
  endif()
  message(FATAL_ERROR
    "${variable}=\"${adresse}\" is not allowed: give an https:// origin without a path "
    "(plain http:// only to a loopback address such as http://127.0.0.1:8631).")
endfunction()
