# Warnings in our own code are errors; third-party headers come in as
# system includes and stay quiet.
function(retrove_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
