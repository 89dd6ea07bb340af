/*
 *      The browser's side of the web platform, linked into the program with
 *      --js-library: the canvas, its frames, the message box, the page's
 *      controls and the gamepads.
 *
 *      _al_em_wait_for_frame and _al_em_message yield to the browser: the
 *      program is linked with -sASYNCIFY and names them in ASYNCIFY_IMPORTS.
 *
 *      See readme.txt for copyright information.
 */

mergeInto(LibraryManager.library, {
    $AllegroCanvas: {
        element: function() { return document.querySelector('#canvas'); },
        context: function() { return AllegroCanvas.element().getContext('2d'); },
        noMenu: function(event) { event.preventDefault(); },
    },

    _al_em_present__deps: ['$AllegroCanvas'],
    _al_em_present: function(rgba, width, height) {
        var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
        AllegroCanvas.context().putImageData(new ImageData(pixels, width, height), 0, 0);
    },

    _al_em_blank__deps: ['$AllegroCanvas'],
    _al_em_blank: function() {
        var canvas = AllegroCanvas.element();
        if (canvas)
            AllegroCanvas.context().clearRect(0, 0, canvas.width, canvas.height);
    },

    // The browser runs no animation frame while the page is hidden.
    _al_em_wait_for_frame__deps: ['$callUserCallback'],
    _al_em_wait_for_frame: function() {
        Asyncify.handleSleep(function(wakeUp) { requestAnimationFrame(function() { callUserCallback(wakeUp); }); });
    },

    // A modal dialog: the text as it stands, line breaks and leading spaces kept, and an OK button. Escape closes
    // it too, as it closes a desktop's message box.
    _al_em_message__deps: ['$callUserCallback'],
    _al_em_message: function(text) {
        Asyncify.handleSleep(function(wakeUp) {
            var dialog = document.createElement('dialog');
            var message = document.createElement('p');
            var form = document.createElement('form');
            var ok = document.createElement('button');
            dialog.className = 'allegro-message';
            message.style.whiteSpace = 'pre-wrap';
            message.textContent = UTF8ToString(text);
            form.method = 'dialog';
            ok.textContent = 'OK';
            form.appendChild(ok);
            dialog.appendChild(message);
            dialog.appendChild(form);
            dialog.addEventListener('close', function() {
                dialog.remove();
                callUserCallback(wakeUp);
            });
            document.body.appendChild(dialog);
            dialog.showModal();
            ok.focus();
        });
    },

    _al_em_set_title: function(title) { document.title = UTF8ToString(title); },

    // A gamepad of the browser's standard mapping at that index: its left stick's axes, and the arrows its d-pad
    // holds (buttons 12 to 15: up, down, left, right), as the bits AL_EM_UP (4), AL_EM_DOWN (8), AL_EM_LEFT (1) and
    // AL_EM_RIGHT (2).
    _al_em_gamepad: function(index, x, y, arrows) {
        var pads = (typeof navigator.getGamepads === 'function') ? navigator.getGamepads() : [];
        var pad = pads[index];
        if (!pad || !pad.connected || pad.mapping !== 'standard')
            return 0;
        var held = 0;
        [[12, 4], [13, 8], [14, 1], [15, 2]].forEach(function(button) {
            if (pad.buttons[button[0]] && pad.buttons[button[0]].pressed)
                held |= button[1];
        });
        HEAPF64[x >> 3] = pad.axes[0] || 0;
        HEAPF64[y >> 3] = pad.axes[1] || 0;
        HEAP32[arrows >> 2] = held;
        return 1;
    },

    // The page's controls hold keys through the touch driver while the keyboard is installed:
    // Module.touchPad(finger, x, y), Module.touchKey(finger, code) and Module.lift(finger).
    _al_em_offer_controls__deps: ['$dynCall'],
    _al_em_offer_controls: function(touchPad, touchKey, lift) {
        if (!touchPad) {
            delete Module['touchPad'];
            delete Module['touchKey'];
            delete Module['lift'];
            return;
        }
        Module['touchPad'] = function(finger, x, y) { dynCall('vidd', touchPad, [finger, x, y]); };
        Module['touchKey'] = function(finger, code) {
            var stack = stackSave();
            dynCall('vii', touchKey, [finger, allocateUTF8OnStack(code)]);
            stackRestore(stack);
        };
        Module['lift'] = function(finger) { dynCall('vi', lift, [finger]); };
    },

    _al_em_keep_context_menu_off__deps: ['$AllegroCanvas'],
    _al_em_keep_context_menu_off: function(off) {
        var canvas = AllegroCanvas.element();
        if (!canvas)
            return;
        if (off)
            canvas.addEventListener('contextmenu', AllegroCanvas.noMenu);
        else
            canvas.removeEventListener('contextmenu', AllegroCanvas.noMenu);
    },
});
