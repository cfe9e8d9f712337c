// Under node, the tests see NO_COLOR from node's environment, as a desktop
// test sees its own: every stream is a terminal to Emscripten.
Module['preRun'] = [function () { if (process.env.NO_COLOR) ENV.NO_COLOR = process.env.NO_COLOR; }];
