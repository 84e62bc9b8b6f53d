# Float arithmetic of 32-bit x86 builds. The engine's own compiler uses SSE2,
# so these builds do too (every float operation rounded to float, as on
# x86-64). VISTREL_X87_MATH builds them with x87 arithmetic instead, where
# temporaries carry 80 bits (FLT_EVAL_METHOD 2): the suite passing there, with
# the same result digests, shows that results do not depend on the evaluation
# method (numeric/FloatRounding.h, scripts/test-m32.sh).
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86|X86|i.86|x86_64|AMD64|amd64)$")
  if(VISTREL_X87_MATH)
    add_compile_options(-mfpmath=387)
  else()
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
elseif(VISTREL_X87_MATH)
  message(FATAL_ERROR "VISTREL_X87_MATH needs a 32-bit x86 build (-m32)")
endif()
