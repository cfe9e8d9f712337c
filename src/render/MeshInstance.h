#pragma once

class Mesh;

// A mesh handed to the renderer for upload.
struct MeshInstance {
    explicit MeshInstance(Mesh* mesh)
        : mesh(mesh)
    {
    }

    Mesh* mesh; // owned by the resource manager
};
