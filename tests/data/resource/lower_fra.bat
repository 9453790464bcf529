copy Default\Kavlang.inc Compiler
copy Default\Kavr_Enu.str Compiler
IF NOT ERRORLEVEL 1 GOTO CHDIR1
pause
GOTO END

:CHDIR1
copy "<DOCUMENT>" Compiler
IF NOT ERRORLEVEL 1 GOTO SRMC1
pause
GOTO END

:SRMC1
CD Compiler
srmc -32 Kavr_fra.STR
IF NOT ERRORLEVEL 1 GOTO BRCC1
PAUSE
GOTO END

:BRCC1
brcc32 KavLang_FRA.rc
IF NOT ERRORLEVEL 1 GOTO NEXTDEL
PAUSE
GOTO END

:NEXTDEL
del *.srm
del *.inc
del *.str
del *.rc
CD ..
copy compiler\KavLang_FRA.res resource
CD Compiler
del KavLang_FRA.res
CD ..
:END

