# Compiles the target against nolvea_base's precompiled header instead of a copy of its own.
function(nolvea_share_pch target)
  target_precompile_headers(${target} REUSE_FROM nolvea_base)
endfunction()
