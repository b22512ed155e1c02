// The licence agreement's text: no window code, so native tests can check its shape.
#pragma once

extern const char AgreementText[];
