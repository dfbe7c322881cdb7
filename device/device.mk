# The device program, build/device/ZemloBattery.exe for Windows CE on ARM
# (Windows Mobile 5/6): every source of src/ and common/, and the start-up and
# run-time helpers in device/runtime/, with _WIN32_WCE,
# compiled by clang to ARM-mode assembly for an ELF target, rewritten for the CE assembler
# (device/ce-asm.py), then assembled and linked by the cross binutils
# (scripts/ce-binutils.sh) against import libraries of the device's DLLs.
# Beside it, by the same route, the package's setup DLL (device/setupdll/,
# ZemloSetup.dll), and the package a device installs, ZemloBattery.cab
# (device/ce-cab.py, with gcab).
#
#   make -f device/device.mk CE_BIN=FOLDER [OUT=build/device]
OUT ?= build/device
CE_BIN ?= $(error CE_BIN: the folder of the arm-mingw32ce tools (scripts/ce-binutils.sh))
# Quoted where used: the tools' folder may have a space in its path.
CE = $(CE_BIN)/arm-mingw32ce-
CLANG ?= clang++
PYTHON ?= /usr/bin/python3
CLANG_MAJOR := $(shell $(CLANG) -dumpversion | cut -d. -f1)
LIBCXX := /usr/lib/llvm-$(CLANG_MAJOR)/include/c++/v1
W32API := third_party/ce-w32api

# An object is named by its folder below src/, common/ or device/
# (obj/base/gdi.o, obj/runtime/ce_start.o).
SOURCES := $(wildcard src/*/*.cpp common/*/*.cpp device/runtime/*.cpp)
OBJECTS := $(sort $(foreach d,src common device,$(patsubst $(d)/%.cpp,$(OUT)/obj/%.o,$(filter $(d)/%,$(SOURCES)))))
DLLS := coredll aygshell commdlg
IMPORT_LIBS := $(DLLS:%=$(OUT)/lib/lib%.a)

# CE's ARM calling convention: 64-bit arguments in any register pair
# (apcs-gnu), 16-bit wchar_t, signed char, int-sized enums, no FPU. No
# exceptions, RTTI or unwind tables: the device has no C++ run-time library.
TARGET_FLAGS := --target=armv4t-none-eabi -marm -mcpu=arm7tdmi -mabi=apcs-gnu -mfloat-abi=soft \
	-fshort-wchar -fsigned-char -fno-short-enums
CXXFLAGS := $(TARGET_FLAGS) -std=c++20 -O2 -fomit-frame-pointer -ffunction-sections \
	-fdata-sections -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-unwind-tables \
	-fno-asynchronous-unwind-tables -Wall -Wextra -Wno-unused-parameter \
	-Wno-ignored-attributes -Werror
# libc++'s headers over newlib's C headers; the CE headers before both.
INCLUDES := -nostdlibinc -isystem third_party/mingw-w64 -isystem $(W32API)/include \
	-isystem $(LIBCXX) -isystem /usr/include/newlib -Isrc -Icommon
# WINVER 0x0500: the CE headers declare GradientFill, which CE 5 has, only
# from there. STRSAFE_NO_DEPRECATE: strsafe would rename the C library's
# string functions. __small: a macro of the CE headers and a name in libc++ 14.
DEFINES := -D_WIN32_WCE=0x501 -DUNDER_CE -DARM -D_ARM_ -DWINVER=0x0500 -DUNICODE -D_UNICODE \
	-DNOMINMAX -DWIN32_LEAN_AND_MEAN -DNDEBUG -DSTRSAFE_NO_DEPRECATE -D__small=__small
# The stack as CE programs have it (64 KB reserved, not ld's 2 MB): the
# program's deepest path uses a few KB.
CE_LDFLAGS := --stack 0x10000,0x1000 --subsystem wince:5.01 --major-os-version 5 \
	--minor-os-version 1 --major-subsystem-version 5 --minor-subsystem-version 1 \
	--disable-dynamicbase --disable-nxcompat --no-insert-timestamp -s
LDFLAGS := $(CE_LDFLAGS) --image-base 0x10000 -e WinMainCRTStartup

.PHONY: all
all: $(OUT)/ZemloBattery.exe $(OUT)/ZemloSetup.dll $(OUT)/ZemloBattery.cab

# The map tells the checks where the code and the constructor list lie; the
# ce-tools link, which tools read them.
$(OUT)/ZemloBattery.exe: $(OBJECTS) $(OBJECTS:.o=.records) $(OUT)/obj/ZemloBattery.res.o $(IMPORT_LIBS) \
		device/device.mk
	"$(CE)ld" $(LDFLAGS) -Map $(OUT)/ZemloBattery.map -o $@ $(OBJECTS) \
		$(OUT)/obj/ZemloBattery.res.o -L$(OUT)/lib $(DLLS:%=-l%)
	ln -sfn "$(CE_BIN)" $(OUT)/ce-tools

# The setup DLL: its own entry point, exports by its .def file, relocatable
# (the device loads a DLL where its process has room).
SETUP_OBJECTS := $(OUT)/obj/setupdll/setup_dll.o
$(SETUP_OBJECTS:.o=.s): INCLUDES += -Idevice
$(OUT)/ZemloSetup.dll: $(SETUP_OBJECTS) device/setupdll/ZemloSetup.def $(OUT)/lib/libcoredll.a \
		device/device.mk
	"$(CE)ld" --dll $(CE_LDFLAGS) \
		--image-base 0x10000000 -e DllMain --enable-reloc-section -Map $(OUT)/ZemloSetup.map \
		-o $@ $(SETUP_OBJECTS) device/setupdll/ZemloSetup.def -L$(OUT)/lib -lcoredll

# The same bytes from the same commit: gcab stores each member's time, which
# the writer sets to the commit's. Made every time (it takes a moment): make
# cannot see a new commit.
.PHONY: always
$(OUT)/ZemloBattery.cab: $(OUT)/ZemloBattery.exe $(OUT)/ZemloSetup.dll device/ce-cab.py always
	$(PYTHON) device/ce-cab.py $@ $(OUT)/ZemloBattery.exe $(OUT)/ZemloSetup.dll

vpath %.cpp src common device
# The records' layouts go beside the assembly, for the record check below.
$(OUT)/obj/%.s: %.cpp device/device.mk
	@mkdir -p $(@D)
	$(CLANG) $(CXXFLAGS) $(INCLUDES) $(DEFINES) -MD -MP -MF $(@:.s=.d) -S $< -o $@ \
		-Xclang -fdump-record-layouts >$(@:.s=.layout)

# The records each source uses, laid out again with 64-bit and double members
# at 8 bytes, where the device's compiler puts them (aapcs): one that moves is
# refused, by name, unless platform.h states its layout (device/record-layouts.py).
CE_LAYOUT_FLAGS := $(subst -mabi=apcs-gnu,-mabi=aapcs,$(TARGET_FLAGS)) -std=c++20 -O0 \
	-fno-exceptions -fno-rtti -w
$(OUT)/obj/%.records: %.cpp $(OUT)/obj/%.s device/record-layouts.py
	$(CLANG) $(CE_LAYOUT_FLAGS) $(INCLUDES) $(DEFINES) -S -emit-llvm $< -o $(@:.records=.ll) \
		-Xclang -fdump-record-layouts >$(@:.records=.ce-layout)
	$(PYTHON) device/record-layouts.py $< $(@:.records=.layout) $(@:.records=.ce-layout) \
		$(@:.records=.ll) common/platform/platform.h $@

$(OUT)/obj/%.o: $(OUT)/obj/%.s device/ce-asm.py
	$(PYTHON) device/ce-asm.py $< $(@:.o=.ce.s)
	"$(CE)as" -mcpu=arm7tdmi -o $@ $(@:.o=.ce.s)

$(OUT)/obj/ZemloBattery.res.o: src/res/ZemloBattery.rc src/res/resource.h src/res/zemlo.ico \
		device/device.mk
	@mkdir -p $(@D)
	"$(CE)windres" --preprocessor=$(CLANG) --preprocessor-arg=-E --preprocessor-arg=-xc \
		--preprocessor-arg=-DRC_INVOKED --preprocessor-arg=-nostdlibinc -D_WIN32_WCE=0x501 -DUNDER_CE \
		-I$(W32API)/include -Isrc/res -o $@ $<

$(OUT)/lib/lib%.a: $(W32API)/def/%.def
	@mkdir -p $(@D)
	"$(CE)dlltool" --as="$(CE)as" -d $< -l $@

.SECONDARY:
-include $(OBJECTS:.o=.d) $(SETUP_OBJECTS:.o=.d)

# The runner's table of the records CE lays out otherwise than the desktop,
# against the device's headers (the CTest check runner_records).
.PHONY: check-records
check-records:
	@$(CLANG) $(TARGET_FLAGS) -std=c++20 $(INCLUDES) $(DEFINES) -Irunner -fsyntax-only \
		tests/runner/record_fields_check.cpp
