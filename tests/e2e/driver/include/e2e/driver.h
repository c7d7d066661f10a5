// Everything an end-to-end scenario needs, in one include.
#pragma once

#include "e2e/control_reader.h"
#include "e2e/input.h"
#include "e2e/message_box.h"
#include "e2e/process.h"
#include "e2e/program_folder.h"
#include "e2e/screenshot.h"
#include "e2e/text.h"
#include "e2e/window_finder.h"
