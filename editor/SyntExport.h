// The exporters of the editor's text: plain text, the formatted base and the
// HTML page, in one include for their users.
#pragma once

#include "editor/BaseFormattedExport.h"
#include "editor/HTMLSyntExport.h"
#include "editor/PlainTextSyntExport.h"
