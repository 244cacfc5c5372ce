# cmake -DOUTPUT=<file> -DINPUTS=<a;b;...> -P JoinFiles.cmake
# Writes the inputs one after the other into OUTPUT (the parts of the default style sheet).
set(joined "")
foreach(input IN LISTS INPUTS)
    file(READ "${input}" content)
    string(APPEND joined "${content}")
endforeach()
file(WRITE "${OUTPUT}" "${joined}")
